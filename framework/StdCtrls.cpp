#include "StdCtrls.h"

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {}

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {}

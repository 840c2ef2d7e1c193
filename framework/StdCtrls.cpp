#include "StdCtrls.h"

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {}

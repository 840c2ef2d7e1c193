#pragma once
// The application object of the windowing layer.
#include <exception>

#include "AnsiString.h"

enum class TMessageIcon { None, Stop };

class TApplication {
public:
    void Initialize();

    // Caption of the program's message boxes and error boxes.
    AnsiString Title;

    // A modal box centred on the screen with `text`, the title as its caption
    // and a single OK button; returns when the user has closed it.
    void ShowMessage(const AnsiString& text, TMessageIcon icon);
    // The standard error box: the message with the full-stop rule, the title,
    // OK and the stop icon.
    void ShowException(const std::exception& error);
};

extern TApplication* Application;

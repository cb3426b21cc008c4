#pragma once
// The box in which the application reports an error that escaped a handler.

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

// The message as the box shows it: a full stop is added when the last character's code is
// above that of '.', so a message ending in '.', '\'' or '"' gets none.
std::wstring ErrorBoxText(std::wstring_view message);

// The text of whatever was thrown: the program's own errors carry a UTF-16 message, standard
// ones a narrow text.
std::wstring ExceptionMessage(std::exception_ptr error);

// Error icon, one OK button, owned by the active window.
void ShowErrorBox(const std::wstring& title, std::wstring_view message);

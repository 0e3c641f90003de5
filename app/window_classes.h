// The two window classes of the program.
#pragma once

#include <windows.h>

constexpr const char* kMascotClass = "TAMARIN MASCOT1";
constexpr const char* kPanelClass = "ChdClass";

void RegisterWindowClasses(HINSTANCE instance);

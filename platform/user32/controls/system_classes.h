// The window classes the platform brings along: the dialog class and the controls.
#pragma once

namespace win32::user32 {

// Registers all of them; called once, before the first class lookup.
void RegisterSystemClasses();

void RegisterDialogClass();
void RegisterStaticClass();
void RegisterButtonClass();
void RegisterEditClass();
void RegisterUpDownClass();

}  // namespace win32::user32

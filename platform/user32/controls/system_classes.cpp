#include "platform/user32/controls/system_classes.h"

namespace win32::user32 {

void RegisterSystemClasses() {
  RegisterDialogClass();
  RegisterStaticClass();
  RegisterButtonClass();
  RegisterEditClass();
  RegisterUpDownClass();
}

}  // namespace win32::user32

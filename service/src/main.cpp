// Callchime: the call-time signal service of the device. It takes no arguments.
#include "platform/kernel.h"
#include "service_main.h"

int main() {
  return callchime::RunService(GetModuleHandleW(nullptr));
}

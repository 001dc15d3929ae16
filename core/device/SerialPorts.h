#pragma once
// The serial ports the system knows (USB adapters, on-board ports), for detection and for the
// port lists of the program and the command-line tool.

#include <string>
#include <vector>

namespace vesk {

struct SerialPortInfo {
  std::string name;         // device path, e.g. /dev/ttyUSB0
  std::string description;  // what the system says about it; may be empty
  int usbVendor = -1;       // -1 when the port is not on USB
  int usbProduct = -1;
};

std::vector<SerialPortInfo> ListSerialPorts();

}  // namespace vesk

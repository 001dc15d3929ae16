#include "device/SerialPorts.h"

#include <libserialport.h>

namespace vesk {

std::vector<SerialPortInfo> ListSerialPorts() {
  std::vector<SerialPortInfo> out;
  sp_port** ports = nullptr;
  if (sp_list_ports(&ports) != SP_OK || !ports) return out;
  for (sp_port** p = ports; *p; ++p) {
    SerialPortInfo info;
    if (const char* name = sp_get_port_name(*p)) info.name = name;
    if (const char* desc = sp_get_port_description(*p)) info.description = desc;
    if (sp_get_port_transport(*p) == SP_TRANSPORT_USB) {
      int vid = -1, pid = -1;
      if (sp_get_port_usb_vid_pid(*p, &vid, &pid) == SP_OK) {
        info.usbVendor = vid;
        info.usbProduct = pid;
      }
    }
    if (!info.name.empty()) out.push_back(std::move(info));
  }
  sp_free_port_list(ports);
  return out;
}

}  // namespace vesk

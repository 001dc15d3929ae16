#pragma once
// Every recorder model we talk to, in one table: device kind, name, protocol number, bus, USB
// ids and data modes. Detection, the link objects, the dialogs and the command-line tool read
// this table instead of repeating the facts.

#include <cstdint>
#include <memory>
#include <span>

#include "device/CDevice.h"
#include "device/CProtocolBase.h"
#include "device/DeviceTypes.h"

namespace vesk {

enum class LinkBus { Hid, Serial };

// USB vendor id of our recorders (pid.codes range for open hardware; one product id per HID
// model below).
constexpr uint16_t kUsbVendorId = 0x1209;

struct ModelInfo {
  int32_t deviceKind;
  const char* name;
  int32_t protocol;
  LinkBus bus;
  uint16_t usbVendor;   // 0 for serial models
  uint16_t usbProduct;  // 0 for serial models
  uint16_t modeFlags;   // bit m set: enum_DataMode m offered
};

std::span<const ModelInfo> AllModels();
// The model a protocol number stands for (for kinds that share a protocol number, the first).
const ModelInfo* FindModelByProtocol(int32_t protocol);
const ModelInfo* FindModel(int32_t deviceKind, int32_t protocol);
// True for a known USB HID recorder.
bool IsRecorderUsbId(uint16_t vendor, uint16_t product);
// The data modes a device kind can offer (the same for every protocol of that kind).
uint16_t ModeFlagsOfKind(int32_t deviceKind);
// Fills nine flags indexed by enum_DataMode from a bit mask.
void ModeFlagsToArray(uint16_t flags, int modes[kDataModeSlots]);

// The protocol class of a protocol number (1-10), or null.
std::unique_ptr<CProtocolBase> CreateProtocol(int32_t protocol);
// The cable transport of a protocol number: HID for 1-5, serial for 6-10; null otherwise.
std::unique_ptr<CDevice> CreateTransport(int32_t protocol);

}  // namespace vesk

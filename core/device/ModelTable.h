#pragma once
// Every recorder model we talk to, in one table: one row per model says everything in which
// the models differ: its links (protocol numbers, bus, USB ids), the shape of its download,
// the blocks of each data mode, the modes or users it offers, the plan it takes, where its
// recordings are stored and which identities they get. Detection, the link objects, the
// protocols, the store, the dialogs, the analysis and the command-line tool read these rows
// instead of comparing device kinds, so a new model is one more row and its protocol file.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "cases/CaseFolders.h"
#include "device/CDevice.h"
#include "device/CProtocolBase.h"
#include "device/DeviceTypes.h"
#include "device/DownloadTexts.h"
#include "device/PlanRules.h"

namespace vesk {

enum class LinkBus { Hid, Serial };

// USB vendor id of our recorders (pid.codes range for open hardware; one product id per HID
// model below).
constexpr uint16_t kUsbVendorId = 0x1209;

// One protocol number of a model: the link it answers on.
struct ModelLink {
  int32_t protocol;
  LinkBus bus;
  uint16_t usbProduct;  // 0 for serial links
  std::unique_ptr<CProtocolBase> (*create)();
};

// The shape of a download: which _DOWNLOAD_DATAINFO alternative it fills.
enum class DownloadShape { TaloColor, Miru, Basic, Qora };

// The blocks that hold the data of one mode (for erasing). Mode 0 stands for every mode
// without an entry of its own.
struct ModeBlocks {
  int mode;
  std::span<const uint8_t> blocks;
};

// A row of the data-mode or user choice. An "all" row is offered only when every row before
// it is.
struct ModeChoiceRow {
  int mode;
  TextKey label;
  bool onlyWhenAllOffered = false;
};

// A mode the recorder can be programmed in, the rules of its plan and its label in the choice.
struct UploadModeRow {
  int mode;
  plan::PlanFamily family;
  TextKey label;
};

// What a recording is, for its place in the case folder tree.
enum class RecordingData { Ambulatory, Monitor, SingleUser, HomeUser };

// One recording a download may store as a case file.
struct StoredRecording {
  RecordingData data;
  int homeUser;      // 1 to 3 for home readings, else 0
  int part;          // reading block of the download shape: 0 first, 1 second, 2 third
  uint16_t modes;    // bit m set: stored by a download in data mode m
  CaseSlot slot;     // folder and name ending
  int32_t fileMode;  // data mode written into the case; 0: the download's mode
  // Generated identity (null: the recorder's own plan and patient); the plan then becomes the
  // default plan.
  const char* name;
  const char* id;
  bool withSpO2;           // the SpO2 block goes into the same case
  bool skipWhenEmpty;      // no file when the part holds no readings
  const char* missingKey;  // "Message Setting" line of the summary when the part came empty
};

// The steps the USB protocol runs for a model; the serial protocol of the family has the same
// ones. Null: nothing to read (no plan, no SpO2), or every mode may be uploaded.
struct FamilySteps {
  DeviceResult (*readInfo)(TransferSession&);
  DeviceResult (*readBP)(TransferSession&);
  DeviceResult (*readSpO2)(TransferSession&);
  bool (*uploadAllowed)(int mode);
};

struct RecorderModel {
  int32_t deviceKind;
  const char* name;  // what the case header stores as the model
  std::span<const ModelLink> links;
  uint16_t modeFlags;  // bit m set: enum_DataMode m offered
  DownloadShape shape;
  std::span<const ModeBlocks> blocks;
  std::span<const ModeChoiceRow> downloadChoices;  // empty: the single mode 1, no question
  std::span<const StoredRecording> recordings;
  const char* storeFailedText;  // result text when a write failed
  // A summary of every part (with the lines of missingKey) instead of the plain finish text,
  // and the first file stored as the one offered next (otherwise the last).
  bool summaryStore;
  std::span<const UploadModeRow> uploadModes;  // empty: takes no plan
  bool planWarnings;       // the TALO plan dialog shows the warning switches and limits
  int32_t generatedFlags;  // manual-set and start-key flags of the default plan
  bool ambulatory;         // a day-and-night profile (correlation, day/night split)
  bool recordsSpO2;
  FamilySteps steps;
};

// Every model, in device-kind order.
std::span<const RecorderModel> RecorderModels();
// The row of a device kind, or null for a kind no model has.
const RecorderModel* ModelOfKind(int32_t deviceKind);

// The same facts per protocol number, as detection and the transports look them up.
struct ModelInfo {
  int32_t deviceKind;
  const char* name;
  int32_t protocol;
  LinkBus bus;
  uint16_t usbVendor;   // 0 for serial models
  uint16_t usbProduct;  // 0 for serial models
  uint16_t modeFlags;   // bit m set: enum_DataMode m offered
};

// USB links first, then serial ones, each by protocol number.
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

// The protocol class of a protocol number, or null.
std::unique_ptr<CProtocolBase> CreateProtocol(int32_t protocol);
// The cable transport of a protocol number: HID or serial as its link says; null otherwise.
std::unique_ptr<CDevice> CreateTransport(int32_t protocol);

// Store rules of a model, by kind. The slot of one recording; nullopt for combinations no
// recorder produces.
std::optional<CaseSlot> SlotFor(int deviceKind, RecordingData data, int homeUser = 0);
// The slot of the one file a download in this mode stores; nullopt when the mode stores none
// or several (all QORA users).
std::optional<CaseSlot> SlotForDataMode(int deviceKind, int dataMode);

// The plan dialog of an upload mode.
enum class PlanDialogKind { Talo, Plan, Simple, Pexa };
PlanDialogKind PlanDialogOf(plan::PlanFamily family);
// The upload mode row of a kind, or null when the kind cannot be programmed in that mode.
const UploadModeRow* UploadModeOf(int32_t deviceKind, int mode);
// The mode a plan goes out in: the monitoring mode for a model with one whose mode-2 flag was
// cleared by a monitoring download or choice, else the recording mode.
int UploadModeFor(int32_t deviceKind, int mode2Flag);
// Whether the mode-2 flag follows the data mode chosen (models with a monitoring plan).
bool TracksMode2Flag(int32_t deviceKind);

// The default plan given to recordings without one, dated like the first reading, with the
// model's manual-set and start-key flags.
_BP_TRANSPORT_INFO DefaultPlanFor(int deviceKind, const DateParts& firstReading);

}  // namespace vesk

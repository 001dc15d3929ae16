#pragma once
// Text and CSV export of a case: a heading line and one comma-separated line per reading,
// every reading of the case (invalid and excluded ones too), CR LF line ends, the narrow
// code page. The export runs on a worker thread; a progress dialog reads TaskStatus.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "cases/CaseRecord.h"
#include "language/Language.h"
#include "platform/MessageSink.h"

namespace vesk {

enum class TaskState : int32_t { Idle = 0, Running = 1, Cancelled = 2, Finished = 3 };

// Shared between the worker and the progress dialog: state and percent are atomic, the
// message is guarded by its own lock.
class TaskStatus {
 public:
  void SetMessage(std::string text) {
    std::lock_guard<std::mutex> lock(mutex_);
    message_ = std::move(text);
  }
  std::string Message() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return message_;
  }
  void Reset(std::string message) {
    SetMessage(std::move(message));
    progress.store(0);
    state.store(TaskState::Running);
  }
  std::atomic<TaskState> state{TaskState::Idle};
  std::atomic<int32_t> progress{0};

 private:
  mutable std::mutex mutex_;
  std::string message_;
};

enum class ExportFormat { Txt, Csv };

// "txt files(*.txt)" and "csv files(*.csv)" in that order, as the save dialog offers them.
const char* ExportFilterText(ExportFormat format);
const char* ExportExtension(ExportFormat format);  // ".txt" or ".csv"

// The typed name with the chosen extension, unless it already ends in it (in any case).
std::string ExportFileName(const std::string& typed, ExportFormat format);

// A field holding a comma, a double quote or a line break, enclosed in double quotes with
// its quotes doubled; any other field unchanged.
std::string QuoteField(const std::string& field);

// The heading line: the ten heading texts of "Dialog Setting", each followed by ", ", then
// CR LF. UTF-8.
std::string ExportHeading(const CLanguage& language);
// One reading's line, CR LF included. UTF-8.
std::string ExportLine(const _BP_RECORD& r);

enum class ExportResult : int32_t {
  Ok = 1,
  NoReadings,    // "IDS_NOAWPDATA"
  Declined,      // the file exists and the user kept it
  CannotCreate,  // "IDS_AWPTOFILEERROR"
  Cancelled,     // the file dialog was cancelled
};

// Writes the whole file at once (atomically: a failed export leaves no partial file and an
// existing file untouched) and reports progress 20 + i * 80 / n after the i-th line.
ExportResult WriteExportFile(const std::string& path, std::span<const _BP_RECORD> readings,
                             const CLanguage& language, TaskStatus* status = nullptr);

// The save-file dialog, asked from the worker.
class IExportFileChooser {
 public:
  virtual ~IExportFileChooser() = default;
  // False when the user cancelled; otherwise the typed path and the chosen filter.
  virtual bool Choose(std::string& path, ExportFormat& format) = 0;
};

// The worker: the file dialog, the checks, the file, and the closing message through the
// sink; `status` ends in Cancelled or Finished. The readings must stay unchanged meanwhile.
ExportResult RunExport(std::span<const _BP_RECORD> readings, const CLanguage& language,
                       IMessageSink& sink, IExportFileChooser& chooser, TaskStatus& status);

// The command: status reset with "IDS_DERIVEDATAING", then RunExport on a new thread. The
// caller shows its progress dialog and joins the thread when the state leaves Running.
std::thread StartExport(std::span<const _BP_RECORD> readings, const CLanguage& language,
                        IMessageSink& sink, IExportFileChooser& chooser, TaskStatus& status);

}  // namespace vesk

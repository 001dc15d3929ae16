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
  // The worker's result code, handed over when the state leaves Running.
  std::atomic<int32_t> result{0};

 private:
  mutable std::mutex mutex_;
  std::string message_;
};

enum class ExportFormat { Txt, Csv };
// The narrow code page (no byte-order mark, as older readers expect), or UTF-8 with a
// byte-order mark, which holds every character.
enum class ExportEncoding { Narrow, Utf8 };

inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

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
                             const CLanguage& language, TaskStatus* status = nullptr,
                             ExportEncoding encoding = ExportEncoding::Narrow);

// The characters of the heading and the comments that the narrow code page cannot hold (each
// once, at most 16); empty when the narrow file loses nothing.
std::string ExportUnencodable(std::span<const _BP_RECORD> readings, const CLanguage& language);

// What the export dialog returns: the typed path, the filter and the encoding.
struct ExportChoice {
  std::string path;
  ExportFormat format = ExportFormat::Txt;
  ExportEncoding encoding = ExportEncoding::Narrow;
};

// The checks between the file dialog and the writing, asked on the caller's thread: no
// readings ("IDS_NOAWPDATA" is the caller's to show), an existing file (asked OK/Cancel),
// and, for the narrow code page, characters it cannot hold ("IDS_EXPORT_LOSSY" with the code
// page and those characters, OK/Cancel). Ok with *path set to the file to write.
[[nodiscard]] ExportResult CheckExport(const ExportChoice& choice,
                                       std::span<const _BP_RECORD> readings,
                                       const CLanguage& language, IMessageSink& sink,
                                       std::string* path);
// The closing message of a result (empty text for Cancelled and Declined, which need none).
Message ExportEndMessage(ExportResult result, const CLanguage& language);

// The worker of the program: writes the checked file and ends with status.result set and
// the state Finished. It shows nothing and asks nothing; the caller tells the result with
// ExportEndMessage once the state has left Running.
[[nodiscard]] std::thread StartExportWriter(std::span<const _BP_RECORD> readings,
                                            const CLanguage& language, std::string path,
                                            ExportEncoding encoding, TaskStatus& status);

// The save-file dialog of RunExport.
class IExportFileChooser {
 public:
  virtual ~IExportFileChooser() = default;
  // False when the user cancelled; otherwise the typed path and the chosen filter.
  virtual bool Choose(std::string& path, ExportFormat& format) = 0;
};

// The whole export on the caller's thread, for tools without a window: the file dialog, the
// checks of an existing file, the narrow file, and the closing message through the sink;
// `status` ends in Cancelled or Finished. The program's window instead asks on its own
// thread (CheckExport) and writes on a worker (StartExportWriter), since the sink and the
// file dialog belong to the window's thread.
ExportResult RunExport(std::span<const _BP_RECORD> readings, const CLanguage& language,
                       IMessageSink& sink, IExportFileChooser& chooser, TaskStatus& status);

}  // namespace vesk

#include "dialogs/PrintSetup.h"

#include <QtCore/QStringList>
#include <QtPrintSupport/QPageSetupDialog>
#include <QtPrintSupport/QPrintDialog>
#include <QtPrintSupport/QPrinter>
#include <QtPrintSupport/QPrinterInfo>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QDialogButtonBox>

#include "common/Texts.h"
#include "language/Language.h"
#include "platform/MessageSink.h"
#include "settings/SystemSettings.h"

namespace vesk {

namespace {

constexpr int kPortrait = 1;
constexpr int kLandscape = 2;

void Tell(IMessageSink& sink, std::string text, MessageIcon icon) {
  Message m;
  m.text = std::move(text);
  m.icon = icon;
  sink.Show(m);
}

// The stored settings as the dialog's starting point; a paper number the page sizes do not
// know leaves the printer's own default.
void Prepare(QPrinter& printer, const PrintSetup& stored, bool printerKnown) {
  if (printerKnown) printer.setPrinterName(QString::fromStdString(stored.deviceName));
  const QPageSize::PageSizeId id = QPageSize::id(stored.paperSize);
  if (id != QPageSize::Custom) printer.setPageSize(QPageSize(id));
  printer.setPageOrientation(stored.orientation == kLandscape ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
}

}  // namespace

std::function<QStringList()>& InstalledPrinters() {
  static std::function<QStringList()> printers = [] {
    return QPrinterInfo::availablePrinterNames();
  };
  return printers;
}

bool RunPrintSetup(QWidget* parent, const CLanguage& language, IMessageSink& sink) {
  PrintSetup setup = ReadPrintSetup();
  const QStringList printers = InstalledPrinters()();
  const bool havePrinter = !printers.isEmpty();
  QPrinter printer(QPrinter::HighResolution);
  if (!havePrinter) printer.setOutputFormat(QPrinter::PdfFormat);
  Prepare(printer, setup,
          havePrinter && printers.contains(QString::fromStdString(setup.deviceName)));

  if (havePrinter) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName("PrintSetupDialog");
    dialog.setWindowTitle(Qs(language.GetText(kMenuSetting, "IDS_SELECT_PRINT")));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    // Setting up prints nothing, so the confirming button must not promise to print.
    for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>())
      for (QAbstractButton* b : buttons->buttons())
        if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole)
          b->setText(Qs(language.GetText(kMessageSetting, "IDS_MAKE_SURE")));
    if (dialog.exec() != QDialog::Accepted) return false;
    // A PDF chosen in the dialog names no printer: the stored one stays.
    if (printer.outputFormat() == QPrinter::NativeFormat)
      setup.deviceName = printer.printerName().toStdString();
  } else {
    // The report can still be saved as a PDF, and it keeps the paper chosen here; the stored
    // printer name stays for the day the printer is back.
    Tell(sink, language.GetText(kGlobalSetting, "IDS_NO_PRINTER"), MessageIcon::Information);
    QPageSetupDialog dialog(&printer, parent);
    dialog.setObjectName("PageSetupDialog");
    dialog.setWindowTitle(Qs(language.GetText(kMenuSetting, "IDS_SELECT_PRINT")));
    if (dialog.exec() != QDialog::Accepted) return false;
  }
  const QPageLayout layout = printer.pageLayout();
  const int paper = layout.pageSize().windowsId();
  if (paper > 0) setup.paperSize = paper;
  setup.orientation = layout.orientation() == QPageLayout::Landscape ? kLandscape : kPortrait;
  if (!WritePrintSetup(setup)) {
    Tell(sink, language.GetText(kGlobalSetting, "IDS_SAVE_FAULT") + "\r\n" + CnfStartPath(),
         MessageIcon::Error);
    return false;
  }
  return true;
}

}  // namespace vesk

#pragma once
// Print setup for the report program: the printer and the paper it prints the report on,
// kept in Cnf.start ("PaperSize", "Orientation", "DeviceName" of section "START").

#include <QtCore/QStringList>
#include <functional>

class QPrinter;
class QWidget;

namespace vesk {

class CLanguage;
class IMessageSink;

// Shows the printer dialog (or, with no printer installed, tells so and shows the page
// dialog, so that the paper still reaches the report program) starting from the stored
// settings, and stores what the user confirms. True when something was stored.
[[nodiscard]] bool RunPrintSetup(QWidget* parent, const CLanguage& language, IMessageSink& sink);

// The names of the installed printers; tests replace it to pretend a printer is there.
std::function<QStringList()>& InstalledPrinters();

}  // namespace vesk

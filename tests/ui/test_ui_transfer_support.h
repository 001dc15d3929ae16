#pragma once
// What the transfer tests share: a recorder simulator on a pty that the window's detection
// finds, and a script that answers the modal windows a command opens, in order.

#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QPushButton>
#include <deque>
#include <functional>

#include "common/Globals.h"
#include "device/sim/PtyPort.h"
#include "device/sim/RecorderSimulator.h"
#include "view/TransferCommands.h"

namespace vesk::uitest {

inline LinkTiming QuickTiming() {
  return LinkTiming{200, 1, 4091};
}

// A recorder on a pty, found by the window through the extra-port list alone, with the
// cases stored below `dataPath`. A simulator that cannot start ends the program: every
// transfer check after it would fail for that reason alone.
struct SimRig {
  SimRig(sim::SimRecorder rec, const std::string& dataPath, int baud = 0)
      : sim(std::move(rec)), runner(sim) {
    sim.SetBaud(baud);
    if (!runner.Start()) qFatal("the recorder simulator did not start");
    Use(dataPath);
  }
  // Points the configuration and the window's hooks at this recorder.
  void Use(const std::string& dataPath) const {
    g_Config->settings.showSelectDevice = 0;
    g_Config->settings.useBluetooth = 0;
    g_Config->settings.extraSerialPorts = runner.Path();
    g_Config->settings.patientFilePath = dataPath;
    TransferHooks& h = Hooks();
    h.tuneDetection = [](DetectOptions& o) {
      o.probeHid = false;
      o.probeSystemPorts = false;
      o.timing = QuickTiming();
    };
    h.tuneLink = [](DeviceLink& link) { link.SetLinkTiming(QuickTiming()); };
    h.watchdogMs = 4000;
    h.clock = [] { return DateParts{2026, 3, 4, 8, 15, 0}; };
  }
  sim::RecorderSimulator sim;
  sim::SimulatorRunner runner;
};

inline void ResetHooks() {
  Hooks() = TransferHooks{};
}

// Answers modal windows by their object name, in the order queued; windows that come up
// without a matching entry at the front (the progress windows, mostly) are left alone.
class ModalScript : public QObject {
 public:
  using Act = std::function<void(QDialog*)>;
  using When = std::function<bool(QDialog*)>;
  ModalScript() {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &ModalScript::Poll);
    timer_.start();
  }
  ModalScript& On(const QString& name, Act act, When when = {}) {
    queue_.push_back({name, std::move(act), std::move(when)});
    return *this;
  }
  bool Done() const { return queue_.empty(); }
  QStringList seen;  // every modal window that came up, by name, once per appearance

 private:
  struct Entry {
    QString name;
    Act act;
    When when;
  };
  void Poll() {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (d && !d->property("seenByScript").toBool()) {
      d->setProperty("seenByScript", true);
      seen << d->objectName();
    }
    if (!d || queue_.empty()) return;
    Entry& e = queue_.front();
    if (d->objectName() != e.name || (e.when && !e.when(d))) return;
    Entry taken = std::move(e);
    queue_.pop_front();
    taken.act(d);
    // An act that failed half-way must not leave the command waiting for ever.
    if (QTest::currentTestFailed() && d->isVisible()) d->reject();
  }
  QTimer timer_;
  std::deque<Entry> queue_;
};

inline void Click(QDialog* d, const char* name) {
  auto* b = d->findChild<QPushButton*>(name);
  if (!b) qFatal("no button %s in %s", name, qPrintable(d->objectName()));
  b->click();
}

}  // namespace vesk::uitest

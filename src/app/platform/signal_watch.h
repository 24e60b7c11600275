#pragma once
// SIGTERM, SIGHUP and SIGINT end the program after the recovery copy is
// written. A signal handler may do almost nothing safely, so it only writes
// a byte to a pipe; the event loop reads it and calls back in ordinary code.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace cubrik {

class SignalWatch final : public QObject {
public:
    // `onSignal` runs in the event loop, once per signal delivered. False from
    // installed() when the pipe could not be made (the signals then keep their defaults).
    explicit SignalWatch(std::function<void(int)> onSignal);
    ~SignalWatch() override;

    bool installed() const { return notifier_ != nullptr; }

private:
    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace cubrik

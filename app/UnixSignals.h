#ifndef TENARAI_APP_UNIXSIGNALS_H
#define TENARAI_APP_UNIXSIGNALS_H

#include <QObject>
#include <initializer_list>

class QSocketNotifier;

/**
 * @brief Unix signals as a Qt signal. The handler only writes the signal's number into a pipe;
 * a socket notifier on the other end reports it from the event loop, where anything may be done.
 * One per process.
 */
class TUnixSignals final : public QObject
{
    Q_OBJECT
public:
    TUnixSignals(std::initializer_list<int> signalNumbers, QObject* parent = nullptr);
    ~TUnixSignals() override;

signals:
    void Received(int signalNumber);

private:
    void Readable();

    QSocketNotifier* FNotifier = nullptr;
};

#endif

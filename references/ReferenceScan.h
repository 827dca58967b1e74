#ifndef TENARAI_REFERENCES_REFERENCESCAN_H
#define TENARAI_REFERENCES_REFERENCESCAN_H

#include <QFuture>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>

/**
 * @brief Finds the images of a folder and its sub-folders off the user-interface thread.
 *
 * Every file QImageReader can read counts, whatever bytes its name is made of; other files are
 * passed over, and a folder reached
 * again through a symbolic link is not entered twice, so link loops end. The images arrive in
 * batches every fraction of a second, so a reference can be shown long before a large folder
 * is scanned to its end.
 */
class TReferenceScan final : public QObject
{
    Q_OBJECT
public:
    explicit TReferenceScan(QObject* parent = nullptr);
    // Stops the scan and waits for it.
    ~TReferenceScan() override;

    void Start(const QString& folder);
    void Stop();
    bool IsRunning() const;

signals:
    void Found(const QStringList& images);
    // The scan ended: how many images it found, and how many files named as images it could
    // not read (damaged, too large to decode, not a regular file).
    void Finished(int images, int unreadable);

private:
    std::shared_ptr<std::atomic<bool>> FStop;
    QFuture<void> FWork;
};

// The whole scan at once, on the calling thread (tests, benchmarks).
QStringList ScanReferences(const QString& folder);

#endif

#ifndef TENARAI_APP_APPLICATION_H
#define TENARAI_APP_APPLICATION_H

#include <QApplication>

// The application object: an error that escapes an event handler is shown in the "エラー" box
// and the program goes on.
class TApplication final : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Settings that must be made before the application object exists.
    static void PrepareStart();
};

#endif

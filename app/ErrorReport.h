#ifndef TENARAI_APP_ERRORREPORT_H
#define TENARAI_APP_ERRORREPORT_H

#include <QString>
#include <exception>

// The message an error carries, as the user reads it.
QString ErrorMessage(const std::exception& error);
QString ErrorMessage(const std::exception_ptr& error);
// Shows an error that escaped a handler in the "エラー" box; a full stop is added to a message
// whose last character comes after "." in Unicode.
void ShowErrorMessage(QString message);
void ShowException(const std::exception& error);

#endif

#ifndef TENARAI_RASTER_ERROR_H
#define TENARAI_RASTER_ERROR_H

#include <QString>
#include <exception>

// The program's error type: every failure the user may see travels as one of these,
// carrying a message in the user's language.
class EError : public std::exception
{
public:
    explicit EError(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}

    const QString& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// A file name that is already taken: a save that must never replace a file reports this.
class EFileExists final : public EError
{
public:
    using EError::EError;
};

// Readable words for an errno value, for messages about files.
QString FileErrorText(int errnoValue);

#endif

#ifndef TENARAI_TESTS_FAKEDIALOGS_H
#define TENARAI_TESTS_FAKEDIALOGS_H

#include "app/DialogService.h"

#include <QStringList>
#include <deque>

// Answers questions for the user and remembers everything shown.
class TFakeDialogs final : public TDialogService
{
public:
    struct TLog
    {
        QStringList Questions;
        QStringList Messages;
        QStringList Errors;
        std::deque<TModalResult> Answers; // mrNo once they run out
    };

    explicit TFakeDialogs(TLog& log) : FLog(log) {}

    TModalResult Ask(const QString& text, TMsgDlgType, TMsgDlgButtons, TMsgDlgBtn, int) override
    {
        FLog.Questions << text;
        if (FLog.Answers.empty())
            return mrNo;
        const TModalResult answer = FLog.Answers.front();
        FLog.Answers.pop_front();
        return answer;
    }
    void ShowMessage(const QString& text) override { FLog.Messages << text; }
    void ShowError(const QString& text) override { FLog.Errors << text; }

private:
    TLog& FLog;
};

// Puts the fake in for as long as it lives.
class TFakeDialogScope final
{
public:
    TFakeDialogScope() { ReplaceDialogService(std::make_unique<TFakeDialogs>(Log)); }
    ~TFakeDialogScope() { ReplaceDialogService(nullptr); }
    TFakeDialogs::TLog Log;
};

#endif

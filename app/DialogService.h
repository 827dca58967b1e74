#ifndef TENARAI_APP_DIALOGSERVICE_H
#define TENARAI_APP_DIALOGSERVICE_H

#include <QString>
#include <functional>
#include <memory>

class QMessageBox;

enum class TMsgDlgType
{
    mtWarning,
    mtError,
    mtInformation,
    mtConfirmation,
    mtCustom
};
enum TMsgDlgBtn : unsigned
{
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2
};
using TMsgDlgButtons = unsigned;
using TModalResult = int;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;

/**
 * @brief Modal messages and questions. The program's own is built on QMessageBox; tests put in
 * one that answers for the user.
 */
class TDialogService
{
public:
    virtual ~TDialogService() = default;
    // Asks modally and returns the modal result: mrYes, or mrNo for every other answer.
    virtual TModalResult Ask(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                             TMsgDlgBtn defaultButton, int helpContext) = 0;
    // A modal message with one OK button, captioned with the application's name.
    virtual void ShowMessage(const QString& text) = 0;
    // A modal message captioned "エラー" with one OK button.
    virtual void ShowError(const QString& text) = 0;
};

// The service in use; the QMessageBox one unless a test replaced it.
TDialogService& DialogService();
// Puts in another service and returns the one it replaces (null: the QMessageBox one).
std::unique_ptr<TDialogService> ReplaceDialogService(std::unique_ptr<TDialogService> service);

// Asks the question and calls the handler with the answer before returning.
void MessageDialog(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, TMsgDlgBtn defaultButton,
                   int helpContext, const std::function<void(TModalResult)>& handler);
void ShowMessage(const QString& text);

// The confirmation box as it is shown: "確認", "はい" then "いいえ", the default button (いいえ
// unless mbYes is asked for) with the focus. Made by itself so tests can look at it.
std::unique_ptr<QMessageBox> MakeConfirmationBox(const QString& text, TMsgDlgBtn defaultButton = mbNo);

#endif

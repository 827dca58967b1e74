#include "app/DialogService.h"

#include <QCoreApplication>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
// Kept above the other windows with a fixed frame and no title-bar buttons.
void MakeFixedModal(QMessageBox& box)
{
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
}

std::unique_ptr<QMessageBox> MakeMessageBox(const QString& caption, const QString& text,
                                            QMessageBox::Icon icon)
{
    auto box = std::make_unique<QMessageBox>(icon, caption, text, QMessageBox::NoButton);
    MakeFixedModal(*box);
    QPushButton* ok = box->addButton(QCoreApplication::translate("TDialogService", "OK"), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    return box;
}

class TMessageBoxService final : public TDialogService
{
public:
    TModalResult Ask(const QString& text, TMsgDlgType, TMsgDlgButtons, TMsgDlgBtn defaultButton, int) override
    {
        const std::unique_ptr<QMessageBox> box = MakeConfirmationBox(text, defaultButton);
        box->exec();
        return box->clickedButton() == box->buttons().value(0) ? mrYes : mrNo;
    }
    void ShowMessage(const QString& text) override
    {
        // The program's name as the user knows it: the application name is its file name.
        MakeMessageBox(QStringLiteral("Tenarai"), text, QMessageBox::Information)->exec();
    }
    void ShowError(const QString& text) override
    {
        MakeMessageBox(QCoreApplication::translate("TDialogService", "エラー"), text, QMessageBox::Critical)->exec();
    }
};

std::unique_ptr<TDialogService>& Installed()
{
    static std::unique_ptr<TDialogService> service;
    return service;
}
} // namespace

std::unique_ptr<QMessageBox> MakeConfirmationBox(const QString& text, TMsgDlgBtn defaultButton)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, QCoreApplication::translate("TDialogService", "確認"), text,
                                             QMessageBox::NoButton);
    MakeFixedModal(*box);
    // Qt's standard buttons read "&Yes" without a translation, so the texts are set here.
    QPushButton* yes = box->addButton(QCoreApplication::translate("TDialogService", "はい"), QMessageBox::YesRole);
    QPushButton* no = box->addButton(QCoreApplication::translate("TDialogService", "いいえ"), QMessageBox::NoRole);
    QPushButton* chosen = defaultButton == mbYes ? yes : no;
    box->setDefaultButton(chosen);
    box->setEscapeButton(no);
    chosen->setFocus();
    return box;
}

TDialogService& DialogService()
{
    static TMessageBoxService boxes;
    return Installed() ? *Installed() : boxes;
}

std::unique_ptr<TDialogService> ReplaceDialogService(std::unique_ptr<TDialogService> service)
{
    std::swap(Installed(), service);
    return service;
}

void MessageDialog(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, TMsgDlgBtn defaultButton,
                   int helpContext, const std::function<void(TModalResult)>& handler)
{
    const TModalResult answer = DialogService().Ask(text, type, buttons, defaultButton, helpContext);
    if (handler)
        handler(answer);
}

void ShowMessage(const QString& text)
{
    DialogService().ShowMessage(text);
}

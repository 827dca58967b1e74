#include "app/Controls.h"

#include "app/DialogService.h"
#include "dialogs/ActivityDialog.h"
#include "dialogs/ClassRegistry.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int kTextSize = 22;
} // namespace

QLabel* MakeText(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPixelSize(kTextSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

TCustomActivityDialog* MakeActivityDialog(QWidget* window)
{
    auto* dialog = dynamic_cast<TCustomActivityDialog*>(
        TClassRegistry::Instance().Create(QStringLiteral("TActivityDialog"), window));
    Q_ASSERT(dialog);
    dialog->setObjectName(QStringLiteral("ActivityDialog"));
    dialog->SetMessage(QCoreApplication::translate("Controls", "処理中です。しばらくお待ち下さい。"));
    return dialog;
}

void ShowAboutBox()
{
    ShowMessage(QCoreApplication::translate("Controls", "Tenarai %1\n時間を計ってクロッキーを練習するプログラム\nライセンス: MIT\n%2")
                    .arg(QStringLiteral(TENARAI_VERSION), QStringLiteral(TENARAI_ID)));
}

TBusyCursor::TBusyCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

TBusyCursor::~TBusyCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

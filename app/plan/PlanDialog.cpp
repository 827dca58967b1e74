#include "app/plan/PlanDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TPlanDialog::TPlanDialog(const TPlan& current, QWidget* parent)
    : QDialog(parent), FEdit(new QLineEdit(this)), FProblem(new QLabel(this)),
      FButtons(new QDialogButtonBox(this))
{
    setWindowTitle(tr("練習プラン"));
    auto* layout = new QVBoxLayout(this);
    auto* hint =
        new QLabel(tr("枚数x時間をカンマで区切って入力します（例: 10x30s, 5x1m, 2x5m）。\n"
                                  "最後の項目の枚数を省くと、それ以降すべてに使います。\n"
                                  "休憩は「休憩2m」のように描く項目の間に入れます。"),
                   this);
    layout->addWidget(hint);
    layout->addWidget(FEdit);
    QPalette palette = FProblem->palette();
    palette.setColor(QPalette::WindowText, QColor(0xc0, 0x20, 0x20));
    FProblem->setPalette(palette);
    layout->addWidget(FProblem);
    FButtons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    FButtons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    layout->addWidget(FButtons);
    connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(FEdit, &QLineEdit::textChanged, this, &TPlanDialog::TextEdited);
    FEdit->setText(current.Text());
    TextEdited(FEdit->text());
}

void TPlanDialog::TextEdited(const QString& text)
{
    QString problem;
    FPlan = TPlan::Parse(text, &problem);
    FProblem->setText(FPlan ? QString() : problem);
    FButtons->buttons().first()->setEnabled(FPlan.has_value());
}

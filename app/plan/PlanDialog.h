#ifndef TENARAI_APP_PLAN_PLANDIALOG_H
#define TENARAI_APP_PLAN_PLANDIALOG_H

#include "practice/Plan.h"

#include <QDialog>
#include <optional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

/**
 * @brief "カスタム…": a plan typed in its text form. What is wrong shows under the field while
 * the text cannot be read, and OK stays disabled until it can.
 */
class TPlanDialog final : public QDialog
{
    Q_OBJECT
public:
    TPlanDialog(const TPlan& current, QWidget* parent);

    std::optional<TPlan> Plan() const { return FPlan; }
    QLineEdit* Edit() const { return FEdit; }
    QLabel* Problem() const { return FProblem; }
    QDialogButtonBox* Buttons() const { return FButtons; }

private:
    void TextEdited(const QString& text);

    QLineEdit* FEdit;
    QLabel* FProblem;
    QDialogButtonBox* FButtons;
    std::optional<TPlan> FPlan;
};

#endif

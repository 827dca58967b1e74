#ifndef TENARAI_APP_PLAN_COUNTDOWNBAR_H
#define TENARAI_APP_PLAN_COUNTDOWNBAR_H

#include <QWidget>

/**
 * @brief The thin bar of a practice plan: the time left of the current drawing as a filled
 * part, and the plan's place as text ("3/10 · 30秒"). Red in the last seconds.
 */
class TCountdownBar final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int BarHeight = 18;
    // The last seconds, in which the bar turns red.
    static constexpr qint64 WarningMs = 5000;

    explicit TCountdownBar(QWidget* parent);

    // `left` of `limit` milliseconds remain; a limit of 0 shows the text alone.
    void SetState(const QString& text, qint64 left, qint64 limit);
    // Lights the bar up once, briefly: half the time is gone.
    void Blink();
    bool Blinking() const { return FBlinking; }

    const QString& Text() const { return FText; }
    bool Warning() const { return FLimit > 0 && FLeft <= WarningMs; }
    double Fraction() const { return FLimit > 0 ? double(FLeft) / double(FLimit) : 0.0; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString FText;
    qint64 FLeft = 0;
    qint64 FLimit = 0;
    bool FBlinking = false;
};

#endif

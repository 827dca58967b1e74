#ifndef TENARAI_PRACTICE_PRACTICE_H
#define TENARAI_PRACTICE_PRACTICE_H

#include "practice/FinishedDrawing.h"
#include "practice/SheetGeometry.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <functional>

/**
 * @brief The practice under way, held once: its finished drawings in order (each with its exact
 * time and limit), when it began, what it runs with (the plan's text and the reference folder),
 * and whether a save of it is running.
 *
 * The window changes it; the rooms read it and follow its signals, one per change, and never
 * keep a copy of its drawings. A save takes its own copy of Drawings(): the list is implicitly
 * shared, so the copy costs nothing until the practice changes, and while the save runs nothing
 * changes it.
 */
class TPractice final : public QObject
{
    Q_OBJECT
public:
    // `now` gives local time: when a practice began.
    explicit TPractice(std::function<QDateTime()> now, QObject* parent = nullptr);

    const QList<TFinishedDrawing>& Drawings() const { return FDrawings; }
    qsizetype Count() const { return FDrawings.size(); }
    bool IsEmpty() const { return FDrawings.isEmpty(); }
    // The local time the first drawing began; invalid for none, or for a recovered practice.
    const QDateTime& Started() const { return FStarted; }
    const QString& PlanText() const { return FPlanText; }
    const QString& ReferenceFolder() const { return FReferenceFolder; }
    bool IsSaving() const { return FSaving; }

    // `finishedNow` is false for a drawing put back from the journal.
    void Add(const TFinishedDrawing& drawing, bool finishedNow = true);
    void Clear();
    void SetPlanText(const QString& text) { FPlanText = text; }
    void SetReferenceFolder(const QString& folder) { FReferenceFolder = folder; }
    // A save of the practice begins; its sheets are on disk; it is over, written or failed.
    void BeginSave();
    void SheetsSaved(const TSavedSheets& sheets) { emit Saved(sheets); }
    void EndSave();

signals:
    void DrawingAdded(const TFinishedDrawing& drawing, bool finishedNow);
    void Cleared(); // saved, reset, or replaced by a recovery
    // The sheets are on disk; the drawings are still here, in the order of `sheets.Places`.
    void Saved(const TSavedSheets& sheets);
    void SavingChanged(bool saving);

private:
    std::function<QDateTime()> FNow;
    QList<TFinishedDrawing> FDrawings;
    QDateTime FStarted;
    QString FPlanText;
    QString FReferenceFolder;
    bool FSaving = false;
};

#endif

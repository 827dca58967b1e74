#ifndef TENARAI_HISTORY_IMPORT_H
#define TENARAI_HISTORY_IMPORT_H

#include "history/Record.h"

#include <QList>
#include <QString>

/**
 * @brief The practices that a folder of sheets written before the record existed holds:
 * "yyyyMMdd_HHmmss_N.png", one practice per stamp, saved at the name's local date and time,
 * its drawings counted from the cells that hold ink, their times unknown. Reads every sheet:
 * call it off the user-interface thread.
 */
QList<TPracticeRecord> PracticesInFolder(const QString& folder);

#endif

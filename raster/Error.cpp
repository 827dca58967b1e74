#include "raster/Error.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>

QString FileErrorText(int errnoValue)
{
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
        return QCoreApplication::translate("Raster", "ディスクの空き容量が足りません");
    case EFBIG:
        return QCoreApplication::translate("Raster", "ファイルが大きすぎます");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("Raster", "書き込む権限がありません");
    case EROFS:
        return QCoreApplication::translate("Raster", "読み取り専用の場所です");
    case ENOTDIR:
        return QCoreApplication::translate("Raster", "フォルダーのはずの場所にファイルがあります");
    case ENOENT:
        return QCoreApplication::translate("Raster", "フォルダーが見つかりません");
    case EEXIST:
        return QCoreApplication::translate("Raster", "同じ名前のファイルがすでにあります");
    case ENAMETOOLONG:
        return QCoreApplication::translate("Raster", "パスが長すぎます");
    default:
        return QCoreApplication::translate("Raster", "入出力エラー (%1)").arg(QString::fromLocal8Bit(std::strerror(errnoValue)));
    }
}

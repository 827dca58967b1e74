#include "raster/Error.h"

#include <cerrno>
#include <cstring>

QString FileErrorText(int errnoValue)
{
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が足りません");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます");
    case EACCES:
    case EPERM:
        return QStringLiteral("書き込む権限がありません");
    case EROFS:
        return QStringLiteral("読み取り専用の場所です");
    case ENOTDIR:
        return QStringLiteral("フォルダーのはずの場所にファイルがあります");
    case ENOENT:
        return QStringLiteral("フォルダーが見つかりません");
    case EEXIST:
        return QStringLiteral("同じ名前のファイルがすでにあります");
    case ENAMETOOLONG:
        return QStringLiteral("パスが長すぎます");
    default:
        return QStringLiteral("入出力エラー (%1)").arg(QString::fromLocal8Bit(std::strerror(errnoValue)));
    }
}

// Japanese words for the errno values that opening and saving files meet.
#include "SystemErrorText.h"

#include <cerrno>
#include <system_error>

QString JapaneseSystemError(int errnum) {
  switch (errnum) {
    case ENOENT:
      return QStringLiteral("ﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません。");
    case EACCES:
    case EPERM:
      return QStringLiteral("ｱｸｾｽが許可されていません。");
    case EISDIR:
      return QStringLiteral("ﾌｫﾙﾀﾞです。ﾌｧｲﾙを指定してください。");
    case ENOTDIR:
      return QStringLiteral("ﾊﾟｽの途中にﾌｫﾙﾀﾞではないものがあります。");
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("ﾃﾞｨｽｸの空き領域が足りません。");
    case EROFS:
      return QStringLiteral("読み取り専用の場所には書き込めません。");
    case EFBIG:
      return QStringLiteral("ﾌｧｲﾙの大きさの上限を超えます。");
    case EINVAL:
      return QStringLiteral("ﾌｧｲﾙではありません (ﾊﾟｲﾌﾟや装置は読めません)。");
    case EEXIST:
      return QStringLiteral("同じ名前のﾌｧｲﾙが既にあります。");
    default:
      // The system's text is in the user's locale, hence the local encoding.
      return QStringLiteral("ｼｽﾃﾑ ｴﾗｰ %1: %2")
          .arg(errnum)
          .arg(QString::fromLocal8Bit(std::generic_category().message(errnum)));
  }
}

#include "SystemErrorText.h"

namespace {

constexpr quint32 kWin32Facility = 0x80070000; // HRESULT_FROM_WIN32

} // namespace

QString SystemErrorText::Text(quint32 error)
{
    if ((error & 0xFFFF0000) == kWin32Facility)
        error &= 0xFFFF;
    switch (error) {
    case 5:
        return QStringLiteral("アクセスが拒否されました。");
    case 8:
        return QStringLiteral("このコマンドを実行するのに十分な記憶域がありません。");
    case 53:
        return QStringLiteral("ネットワーク パスが見つかりません。");
    case 87:
        return QStringLiteral("パラメーターが間違っています。");
    case 123:
        return QStringLiteral(
            "ファイル名、ディレクトリ名、またはボリューム ラベルの構文が間違っています。");
    case 124:
        return QStringLiteral("システム コールのレベルが正しくありません。");
    case 1722:
        return QStringLiteral("RPC サーバーを利用できません。");
    case 1723:
        return QStringLiteral("RPC サーバーはビジー状態のため、この操作を完了できません。");
    case 1460:
        return QStringLiteral("タイムアウト期間が経過したため、この操作は終了しました。");
    case 1326:
        return QStringLiteral("ユーザー名またはパスワードが正しくありません。");
    default:
        return {};
    }
}

#include "PlayArgs.h"

namespace {
bool is(const QString& word, const char* token)
{
    return word.compare(QLatin1String(token), Qt::CaseInsensitive) == 0;
}

// A troop ID as the editor writes it: plain decimal digits, 1..9999.
int troopIDOf(const QString& word)
{
    if (word.isEmpty() || word.size() > 4)
        return 0;
    for (const QChar c : word)
        if (c < '0' || c > '9')
            return 0;
    return word.toInt();
}

TPlayArgsResult refuse(const QString& why)
{
    TPlayArgsResult r;
    r.Error = why;
    return r;
}
} // namespace

QString PlayArgsUsage()
{
    return QStringLiteral("uso: TFPLAY.exe TestPlay|BattleTest ShowTitle|HideTitle FullScreen|Window "
                          "[ID de grupo de enemigos, sólo con BattleTest]");
}

TPlayArgsResult ParsePlayArgs(const QStringList& words)
{
    TPlayArgsResult r;
    if (words.isEmpty()) {
        r.Ok = true;
        return r;
    }
    bool haveMode = false, haveTitle = false, haveScreen = false, haveTroop = false;
    for (const QString& w : words) {
        bool* seen = nullptr;
        if (is(w, "TestPlay") || is(w, "BattleTest")) {
            seen = &haveMode;
            r.Args.Mode = is(w, "TestPlay") ? TPlayArgs::TMode::TestPlay : TPlayArgs::TMode::BattleTest;
        } else if (is(w, "ShowTitle") || is(w, "HideTitle")) {
            seen = &haveTitle;
            r.Args.ShowTitle = is(w, "ShowTitle");
        } else if (is(w, "FullScreen") || is(w, "Window")) {
            seen = &haveScreen;
            r.Args.FullScreen = is(w, "FullScreen");
        } else if (const int id = troopIDOf(w); id > 0) {
            seen = &haveTroop;
            r.Args.TroopID = id;
        } else {
            return refuse(QStringLiteral("palabra desconocida \"%1\"").arg(w));
        }
        if (*seen)
            return refuse(QStringLiteral("\"%1\" repite una opción ya dada").arg(w));
        *seen = true;
    }
    if (!haveMode)
        return refuse(QStringLiteral("falta TestPlay o BattleTest"));
    if (!haveTitle)
        return refuse(QStringLiteral("falta ShowTitle o HideTitle"));
    if (!haveScreen)
        return refuse(QStringLiteral("falta FullScreen o Window"));
    const bool battle = r.Args.Mode == TPlayArgs::TMode::BattleTest;
    if (battle && !haveTroop)
        return refuse(QStringLiteral("BattleTest necesita el ID del grupo de enemigos"));
    if (!battle && haveTroop)
        return refuse(QStringLiteral("un ID de grupo de enemigos sólo va con BattleTest"));
    r.Ok = true;
    return r;
}

#include "app/startup/LeagueGameSettings.h"

#include "core/overlay/OverlaySettingsStore.h"
#include "core/support/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace tolvane {

namespace {

const QString numericCooldownFormatKey = QStringLiteral("NumericCooldownFormat");

bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\n':
    case u'\r':
    case 0x0B: // vertical tab
    case 0x0C: // form feed
    case 0x85: // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return false;
    }
}

// A sign at most, then decimal digits and nothing else, within 64 bits.
std::optional<qint64> strictInteger(QStringView text)
{
    qsizetype digitsFrom = 0;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-'))
        digitsFrom = 1;
    if (digitsFrom == text.size())
        return std::nullopt;
    for (qsizetype i = digitsFrom; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

// The value of a "key=value" line for the wanted key; leading "=" are skipped as empty pieces,
// and a line without a non-empty value after its first "=" gives none.
std::optional<QStringView> valueOf(QStringView line, const QString& key)
{
    qsizetype start = 0;
    while (start < line.size() && line[start] == u'=')
        ++start;
    const QStringView rest = line.sliced(start);
    const qsizetype equals = rest.indexOf(u'=');
    if (equals < 0 || equals + 1 == rest.size())
        return std::nullopt;
    if (trimBlanks(rest.first(equals)) != key)
        return std::nullopt;
    return trimBlanks(rest.sliced(equals + 1));
}

} // namespace

QString LeagueGameSettings::configFilePath()
{
    return QDir::homePath()
        + QStringLiteral("/Games/league-of-legends/drive_c/Riot Games/League of Legends/Config/game.cfg");
}

std::optional<CDTimeFormat> LeagueGameSettings::cooldownFormatFromText(const QString& text)
{
    const QStringView all(text);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= all.size(); ++i) {
        if (i < all.size() && !isLineBreak(all[i]))
            continue;
        const QStringView line = all.sliced(lineStart, i - lineStart);
        lineStart = i + 1;
        if (line.isEmpty())
            continue;
        const auto value = valueOf(line, numericCooldownFormatKey);
        if (!value)
            continue;
        if (const auto number = strictInteger(*value))
            return CDTimeFormat::fromNumericCooldownFormat(*number);
    }
    return std::nullopt;
}

std::optional<CDTimeFormat> LeagueGameSettings::cooldownFormat(const QString& path)
{
    // Only a regular file: opening a pipe or a device at that path could block the launch.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maximumFileSize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(maximumFileSize + 1);
    if (bytes.size() > maximumFileSize)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return cooldownFormatFromText(text);
}

CDTimeFormat resolveCDFormat(const OverlaySettingsStore& settings, const QString& gameConfigPath)
{
    if (const auto stored = settings.cooldownFormat())
        return *stored;
    if (const auto game = LeagueGameSettings::cooldownFormat(gameConfigPath))
        return *game;
    return CDTimeFormat::seconds;
}

CDTimeFormat settleCDFormat(OverlaySettingsStore& settings, const QString& gameConfigPath)
{
    if (const auto stored = settings.cooldownFormat())
        return *stored;
    const CDTimeFormat resolved = resolveCDFormat(settings, gameConfigPath);
    settings.setCooldownFormat(resolved);
    return resolved;
}

} // namespace tolvane

// Feeds arbitrary bytes to the reading of the game's own settings file for the cooldown format
// the player chose in the game, and to the launch's choice of a format from it. Checks that the
// first line holding an integer decides (a line added after it changes nothing, one added after
// a text without it is found), that the file gives what its text gives and nothing when it is
// not UTF-8, and that the launch keeps what it chose.

#include "app/startup/LeagueGameSettings.h"
#include "core/overlay/OverlaySettingsStore.h"

#include "FuzzCheck.h"

#include <QHash>
#include <QStringDecoder>

#include <cstdint>
#include <memory>

namespace {

using namespace tolvane;
using fuzz::require;

void checkText(const QString& text)
{
    const auto format = LeagueGameSettings::cooldownFormatFromText(text);
    const auto laterLine
        = LeagueGameSettings::cooldownFormatFromText(text + QStringLiteral("\nNumericCooldownFormat=2"));
    require(laterLine == format.value_or(CDTimeFormat::minutes), "the first line decides; a later one is found");
    const auto firstLine
        = LeagueGameSettings::cooldownFormatFromText(QStringLiteral("NumericCooldownFormat=0\r\n") + text);
    require(firstLine == CDTimeFormat::minutesSeconds, "a line before the text decides");
}

void checkFile(const QByteArray& bytes)
{
    static const QString path = fuzz::scratchFile(QStringLiteral("game.cfg"));
    fuzz::writeFile(path, bytes);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    const auto fromFile = LeagueGameSettings::cooldownFormat(path);
    require(fromFile == (decoder.hasError() ? std::nullopt : LeagueGameSettings::cooldownFormatFromText(text)),
        "the file gives what its text gives, nothing unless UTF-8");

    OverlaySettingsStore settings(std::make_shared<InMemoryUserDefaults>());
    const CDTimeFormat settled = settleCDFormat(settings, path);
    require(settled == fromFile.value_or(CDTimeFormat::seconds), "the game's format, else seconds");
    require(settings.cooldownFormat() == settled, "the launch keeps the format it settled on");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::silenceLogs();
    const QByteArray bytes = fuzz::bytes(data, size);
    checkText(QString::fromUtf8(bytes));
    // Reading the file sets aside room for the largest settings file the game could write, which
    // under the sanitizer costs a hundred times the text's reading: one input in 32 goes through it.
    if (qHash(bytes) % 32 == 0)
        checkFile(bytes);
    return 0;
}

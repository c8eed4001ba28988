#include "core/overlay/UserDefaults.h"

#include "core/support/Log.h"

#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QSettings>
#include <QStringList>
#include <QSysInfo>
#include <QTimer>

#include <cerrno>
#include <cmath>
#include <limits>

#include <signal.h>

TOLVANE_LOG_CATEGORY(lcSettings, "settings")

namespace tolvane {

namespace {

bool isNumeric(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool isText(const QVariant& value)
{
    return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray;
}

// Truncates toward zero; a value no 64-bit integer can hold reads as 0, never as undefined
// behaviour.
qint64 truncated(double value)
{
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (!std::isfinite(value) || value >= limit || value < -limit)
        return 0;
    return static_cast<qint64>(value);
}

std::optional<double> parseNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

// A writer killed while it held the settings file's lock leaves "<file>.lock" behind, sometimes
// still empty. The settings library counts an empty lock as stale only after 30 s, and waits for
// it on the main thread at the first write; a lock whose owner is gone is cleared at once instead.
void clearOrphanedLock(const QString& settingsFile)
{
    const QString path = settingsFile + QStringLiteral(".lock");
    if (!QFileInfo::exists(path))
        return;
    QLockFile lock(path);
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.getLockInfo(&pid, &host, &application)) {
        if (!host.isEmpty() && host != QSysInfo::machineHostName())
            return; // another machine's process: nothing here can tell whether it lives
        if (pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM))
            return; // its owner runs
    }
    // Empty, unreadable or naming a dead process. Removal first takes the file's own OS lock,
    // which a live holder keeps, so a lock that is being written this instant stays.
    lock.removeStaleLockFile();
}

enum class LockState { free, held, unusable };

// Takes the settings file's lock and lets it go at once. A lock that cannot be taken here at all
// (no folder yet, no rights) is left to the settings library, which makes the folder as it writes.
LockState probeLock(const QString& settingsFile, std::chrono::milliseconds wait)
{
    QLockFile lock(settingsFile + QStringLiteral(".lock"));
    if (lock.tryLock(static_cast<int>(wait.count()))) {
        lock.unlock();
        return LockState::free;
    }
    return lock.error() == QLockFile::LockFailedError ? LockState::held : LockState::unusable;
}

QString lockOwner(const QString& settingsFile)
{
    QLockFile lock(settingsFile + QStringLiteral(".lock"));
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application))
        return QStringLiteral("an owner it does not name");
    return QStringLiteral("process %1 (%2) on %3")
        .arg(pid)
        .arg(application.isEmpty() ? QStringLiteral("unnamed") : application,
            host.isEmpty() || host == QSysInfo::machineHostName() ? QStringLiteral("this machine") : host);
}

} // namespace

bool UserDefaults::toBool(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isNumeric(value))
        return value.toDouble() != 0.0;
    if (isText(value)) {
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("true") || text == QLatin1String("yes"))
            return true;
        const auto number = parseNumber(text);
        return number && *number != 0.0;
    }
    return false;
}

qint64 UserDefaults::toInteger(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::Double:
    case QMetaType::Float:
        return truncated(value.toDouble());
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return value.toULongLong() > static_cast<qulonglong>(std::numeric_limits<qint64>::max())
            ? 0
            : static_cast<qint64>(value.toULongLong());
    default:
        break;
    }
    if (isNumeric(value))
        return value.toLongLong();
    if (isText(value)) {
        const QString text = value.toString().trimmed();
        bool ok = false;
        const qint64 whole = text.toLongLong(&ok);
        if (ok)
            return whole;
        if (const auto number = parseNumber(text))
            return truncated(*number);
    }
    return 0;
}

double UserDefaults::toDouble(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1.0 : 0.0;
    return toNumber(value).value_or(0.0);
}

std::optional<double> UserDefaults::toNumber(const QVariant& value)
{
    if (isNumeric(value))
        return value.toDouble();
    if (isText(value))
        return parseNumber(value.toString());
    return std::nullopt;
}

bool UserDefaults::boolValue(const QString& key) const
{
    const auto stored = object(key);
    return stored && toBool(*stored);
}

qint64 UserDefaults::integerValue(const QString& key) const
{
    const auto stored = object(key);
    return stored ? toInteger(*stored) : 0;
}

double UserDefaults::doubleValue(const QString& key) const
{
    const auto stored = object(key);
    return stored ? toDouble(*stored) : 0.0;
}

std::optional<QString> UserDefaults::stringValue(const QString& key) const
{
    const auto stored = object(key);
    if (!stored)
        return std::nullopt;
    if (isText(*stored))
        return stored->toString();
    if (isNumeric(*stored)) {
        if (stored->typeId() == QMetaType::Double || stored->typeId() == QMetaType::Float)
            return QString::number(stored->toDouble(), 'g', QLocale::FloatingPointShortest);
        return stored->toString();
    }
    return std::nullopt;
}

std::optional<QVariantList> UserDefaults::arrayValue(const QString& key) const
{
    const auto stored = object(key);
    if (!stored)
        return std::nullopt;
    if (stored->typeId() == QMetaType::QVariantList || stored->typeId() == QMetaType::QStringList)
        return stored->toList();
    return std::nullopt;
}

// In memory

std::optional<QVariant> InMemoryUserDefaults::object(const QString& key) const
{
    const auto found = values_.constFind(key);
    if (found == values_.constEnd())
        return std::nullopt;
    return *found;
}

void InMemoryUserDefaults::set(const QString& key, const QVariant& value)
{
    if (!value.isValid()) {
        remove(key);
        return;
    }
    values_.insert(key, value);
    noteChange();
}

void InMemoryUserDefaults::remove(const QString& key)
{
    values_.remove(key);
    noteChange();
}

// INI file

QSettingsUserDefaults::QSettingsUserDefaults()
    : settings_(std::make_unique<QSettings>(
        QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tolvane"), QStringLiteral("Tolvane")))
{
    opened();
}

QSettingsUserDefaults::QSettingsUserDefaults(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
    opened();
}

void QSettingsUserDefaults::opened()
{
    clearOrphanedLock(settings_->fileName());
    // Reading never takes the lock, so what is stored is already here whoever holds it.
    if (probeLock(settings_->fileName(), briefWait) == LockState::held) {
        held_ = true;
        log::warning(lcSettings(),
            QStringLiteral("Settings file %1 is locked by %2; going on with the values stored there, read without "
                           "the lock")
                .arg(settings_->fileName(), lockOwner(settings_->fileName())));
    }
    writer_ = std::make_unique<QTimer>();
    writer_->setSingleShot(true);
    QObject::connect(writer_.get(), &QTimer::timeout, [this] { tryWrite(); });
}

void QSettingsUserDefaults::tryWrite()
{
    // While the lock is known to be held, a try does not wait for it.
    if (!write(held_ ? std::chrono::milliseconds(0) : briefWait) && !writer_->isActive())
        writer_->start(retryEvery);
}

QSettingsUserDefaults::~QSettingsUserDefaults()
{
    if (!write(lastWait))
        log::error(lcSettings(),
            QStringLiteral("%1 changed settings could not be written to %2: its lock stayed held by %3")
                .arg(pending_.size())
                .arg(settings_->fileName(), lockOwner(settings_->fileName())));
}

bool QSettingsUserDefaults::write(std::chrono::milliseconds wait)
{
    if (pending_.isEmpty())
        return true;
    if (probeLock(settings_->fileName(), wait) == LockState::held) {
        if (!std::exchange(held_, true))
            log::warning(lcSettings(),
                QStringLiteral("Settings file %1 is locked by %2; %3 changed settings wait here until it is free")
                    .arg(settings_->fileName(), lockOwner(settings_->fileName()))
                    .arg(pending_.size()));
        return false;
    }
    // The lock was free a moment ago; the settings library takes it again for its own write.
    for (const auto& [key, value] : std::exchange(pending_, {})) {
        if (value)
            settings_->setValue(key, *value);
        else
            settings_->remove(key);
    }
    settings_->sync();
    if (std::exchange(held_, false))
        log::info(lcSettings(),
            QStringLiteral("Settings written to %1 now that its lock is free").arg(settings_->fileName()));
    return true;
}

void QSettingsUserDefaults::change(const QString& key, std::optional<QVariant> value)
{
    pending_.removeIf([&key](const auto& change) { return change.first == key; });
    pending_.append({key, std::move(value)});
    noteChange();
    // Changes made in one turn of the event loop are written together, as the settings library
    // itself would; while the lock is known to be held, the next try waits its turn.
    if (!writer_->isActive())
        writer_->start(held_ ? retryEvery : std::chrono::milliseconds(0));
}

std::optional<QVariant> QSettingsUserDefaults::object(const QString& key) const
{
    for (auto change = pending_.crbegin(); change != pending_.crend(); ++change)
        if (change->first == key)
            return change->second;
    const QVariant value = settings_->value(key);
    if (!value.isValid())
        return std::nullopt;
    return value;
}

void QSettingsUserDefaults::set(const QString& key, const QVariant& value)
{
    if (!value.isValid()) {
        remove(key);
        return;
    }
    change(key, value);
}

void QSettingsUserDefaults::remove(const QString& key)
{
    change(key, std::nullopt);
}

void QSettingsUserDefaults::sync()
{
    tryWrite();
}

QString QSettingsUserDefaults::fileName() const
{
    return settings_->fileName();
}

} // namespace tolvane

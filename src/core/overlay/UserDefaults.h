#pragma once
// The per-user key-value store behind the overlay settings, panel positions and heartbeat id.
// Readers must tell a key that was never written from one holding false or 0, so the interface
// hands out the stored object itself (absent when never written) and typed readings that convert
// what is stored the same way on every backend: an INI file keeps only text, the in-memory store
// keeps Qt's own types, and both must read alike.

#include <QList>
#include <QString>
#include <QVariant>

#include <chrono>
#include <memory>
#include <optional>
#include <utility>

class QSettings;
class QTimer;

namespace tolvane {

class UserDefaults {
public:
    virtual ~UserDefaults() = default;

    // The stored object, or none when the key was never written (or was removed).
    virtual std::optional<QVariant> object(const QString& key) const = 0;
    virtual void set(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;
    // Writes pending changes to permanent storage, where the backend has any.
    virtual void sync() { }

    bool contains(const QString& key) const { return object(key).has_value(); }
    // Goes up with every write and removal through this object, so a reader may keep what it
    // read until the number moves.
    quint64 revision() const { return revision_; }

    // Typed readings: an absent key or a value that does not convert reads as false, 0 or 0.0.
    bool boolValue(const QString& key) const;
    qint64 integerValue(const QString& key) const;
    double doubleValue(const QString& key) const;
    // Text stored as text, or a number's decimal text; none for anything else.
    std::optional<QString> stringValue(const QString& key) const;
    // A list, or none when the key holds anything else.
    std::optional<QVariantList> arrayValue(const QString& key) const;

    // The same conversions, on a value already fetched.
    static bool toBool(const QVariant& value);
    static qint64 toInteger(const QVariant& value);
    static double toDouble(const QVariant& value);
    // A number, or text that is wholly a number; none for anything else (booleans included).
    static std::optional<double> toNumber(const QVariant& value);

protected:
    void noteChange() { ++revision_; }

private:
    quint64 revision_ = 0;
};

// Test double and scratch store: values keep their Qt types, nothing is written anywhere.
class InMemoryUserDefaults final : public UserDefaults {
public:
    std::optional<QVariant> object(const QString& key) const override;
    void set(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;

private:
    QVariantMap values_;
};

// The application's store: an INI file through QSettings. Reading needs no lock; a write takes the
// file's lock, which another process (or a crashed one) may hold. Changes are therefore kept here
// until the lock is free, and written then: on the next turn of the event loop, or on later tries
// while someone else holds it. Nobody waits on the lock for more than a moment, except the last
// write before the store goes away.
class QSettingsUserDefaults final : public UserDefaults {
public:
    // The user's own file in the XDG config folder.
    QSettingsUserDefaults();
    // A file at a chosen path (tests).
    explicit QSettingsUserDefaults(const QString& iniPath);
    ~QSettingsUserDefaults() override;

    std::optional<QVariant> object(const QString& key) const override;
    void set(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;
    // Writes what is pending if the file's lock is free now; otherwise the tries go on.
    void sync() override;

    QString fileName() const;

    // How long a write waits for the lock before it tries again later, and how long the store's
    // last write waits when it goes away.
    static constexpr std::chrono::milliseconds briefWait {100};
    static constexpr std::chrono::milliseconds retryEvery {1000};
    static constexpr std::chrono::milliseconds lastWait {3000};

private:
    void opened();
    void change(const QString& key, std::optional<QVariant> value);
    // True once nothing is pending.
    bool write(std::chrono::milliseconds wait);
    // Writes now if the lock is free; otherwise tries again later.
    void tryWrite();

    std::unique_ptr<QSettings> settings_;
    // In the order made, one per key; none is a removal.
    QList<std::pair<QString, std::optional<QVariant>>> pending_;
    std::unique_ptr<QTimer> writer_;
    bool held_ = false; // the last try found the lock held, and said so
};

} // namespace tolvane

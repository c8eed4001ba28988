#pragma once
// The user-defaults backends every storage test runs against: the in-memory store, the INI file
// through one QSettings object, and the INI file read back through a fresh QSettings on every
// read (what a new launch sees: the text in the file, not the values still cached in memory).

#include "core/overlay/UserDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tolvane::test {

enum class Backend { memory, ini, iniReopened };

inline std::string backendName(const ::testing::TestParamInfo<Backend>& info)
{
    switch (info.param) {
    case Backend::memory:
        return "memory";
    case Backend::ini:
        return "ini";
    case Backend::iniReopened:
        return "iniReopened";
    }
    return "unknown";
}

class ReopeningUserDefaults final : public UserDefaults {
public:
    explicit ReopeningUserDefaults(QString path)
        : path_(std::move(path))
    {
    }
    std::optional<QVariant> object(const QString& key) const override
    {
        return QSettingsUserDefaults(path_).object(key);
    }
    void set(const QString& key, const QVariant& value) override { QSettingsUserDefaults(path_).set(key, value); }
    void remove(const QString& key) override { QSettingsUserDefaults(path_).remove(key); }

private:
    QString path_;
};

class DefaultsBackendTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("Tolvane.ini"));
        switch (GetParam()) {
        case Backend::memory:
            defaults = std::make_shared<InMemoryUserDefaults>();
            break;
        case Backend::ini:
            defaults = std::make_shared<QSettingsUserDefaults>(path);
            break;
        case Backend::iniReopened:
            defaults = std::make_shared<ReopeningUserDefaults>(path);
            break;
        }
    }

    QTemporaryDir dir;
    std::shared_ptr<UserDefaults> defaults;
};

#define TOLVANE_ALL_BACKENDS(Suite)                                                                                    \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite,                                                                          \
        ::testing::Values(                                                                                             \
            ::tolvane::test::Backend::memory, ::tolvane::test::Backend::ini, ::tolvane::test::Backend::iniReopened),   \
        ::tolvane::test::backendName)

} // namespace tolvane::test

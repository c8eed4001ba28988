#pragma once
// A Data Dragon stand-in on loopback: serves the real captured files of one version in place,
// with a versions list made here, so loaders run their real requests against real documents.

#include "RealData.h"
#include "TestHttpServer.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

namespace tolvane::test {

class FakeDDragon {
public:
    // Serves <realdata>/ddragon/<version>/... for "/cdn/<version>/..."; files of other versions
    // can be mapped with files().
    explicit FakeDDragon(QString version)
        : version_(std::move(version))
    {
        server_ = std::make_unique<TestHttpServer>([this](const TestRequest& request) { return answer(request); });
    }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_->port()); }
    TestHttpServer& server() { return *server_; }

    // Replaces the answer for one path.
    void override(const QByteArray& path, TestResponse response) { overrides_[path] = std::move(response); }
    // Serves "/cdn/<version>/<rest>" from another real version's folder.
    void mapVersion(QString realVersion) { realVersion_ = std::move(realVersion); }
    // Answers every icon (a ".png" in an "img" folder, versioned or not) with this PNG.
    void serveIcons(QByteArray png) { icon_ = std::move(png); }

private:
    TestResponse answer(const TestRequest& request)
    {
        const QByteArray path = request.path();
        if (auto it = overrides_.find(path); it != overrides_.end())
            return it->second;
        if (!icon_.isEmpty() && path.startsWith("/cdn/") && path.contains("/img/") && path.endsWith(".png")) {
            TestResponse response = TestResponse::json(icon_);
            response.contentType = "image/png";
            return response;
        }
        if (path == "/api/versions.json")
            return TestResponse::json("[\"" + version_.toUtf8() + "\", \"15.3.1\", \"4.2.1\"]");
        const QByteArray prefix = "/cdn/" + version_.toUtf8() + "/";
        if (path.startsWith(prefix)) {
            const QString folder = realVersion_.isEmpty() ? version_ : realVersion_;
            QFile file(realDataPath(
                QStringLiteral("ddragon/") + folder + QLatin1Char('/') + QString::fromUtf8(path.mid(prefix.size()))));
            if (file.open(QIODevice::ReadOnly))
                return TestResponse::json(file.readAll());
        }
        return TestResponse::json("<html>not found</html>", 404);
    }

    QString version_;
    QString realVersion_;
    QByteArray icon_;
    std::map<QByteArray, TestResponse> overrides_;
    std::unique_ptr<TestHttpServer> server_;
};

} // namespace tolvane::test

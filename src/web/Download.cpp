#include "web/Download.h"

#include "files/PathUtils.h"
#include "web/WebSite.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressDialog>
#include <QSaveFile>
#include <QUrl>

#include <memory>

namespace web {

namespace {

using files::BuildPath;
using files::FileExists;

constexpr int kFirstFreeNumber = 2;
constexpr int kMaxRedirects = 10;

bool isSuccess(const QNetworkReply* reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 200 && status < 300;
}

// The part of the address after its last "/"; empty when there is none.
QString nameInAddress(const QString& url)
{
    const qsizetype slash = url.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : url.mid(slash + 1);
}

QString freeTarget(const QString& url, const QString& destination, bool destinationIsDir)
{
    QString dir;
    QString name;
    if (destinationIsDir) {
        dir = destination;
        name = nameInAddress(url);
    } else {
        qsizetype split = destination.size() - 1;
        while (split >= 0 && !files::isPathSeparator(destination.at(split)))
            --split;
        dir = destination.left(split + 1);
        name = destination.mid(split + 1);
    }
    if (name.isEmpty())
        return QString();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    QString target = BuildPath(dir, name);
    for (int n = kFirstFreeNumber; FileExists(target); ++n)
        target = BuildPath(dir, base + QStringLiteral(" (") + QString::number(n) + QLatin1Char(')') + extension);
    return target;
}

// The address a redirect answer leads to, resolved against the address asked; empty for any other answer.
QUrl redirectTarget(const QNetworkReply& reply, const QUrl& asked)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QUrl location = reply.attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    const bool redirect = status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    return redirect && location.isValid() ? asked.resolved(location) : QUrl();
}

// An application-modal progress keeps the windows painted while clicks on them are dropped, not queued to
// start another command afterwards; its button ends the download. Nothing is shown without a window system.
std::unique_ptr<QProgressDialog> showProgress(const QUrl& url)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    auto progress = std::make_unique<QProgressDialog>(QStringLiteral("Download läuft:\n") + url.toDisplayString(),
                                                      QStringLiteral("Abbrechen"), 0, 0);
    progress->setObjectName(QStringLiteral("DownloadProgress"));
    progress->setWindowTitle(QStringLiteral("Download"));
    progress->setWindowModality(Qt::ApplicationModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->show();
    return progress;
}

// Fetches the address into `target`, which is replaced only by a complete answer with a success status.
// Redirects are followed here rather than by the network layer, so that each hop is checked before it
// is asked for: one that leaves the trusted addresses, or one hop too many, ends the download.
bool fetch(const QUrl& url, const QString& target, const DownloadOptions& options)
{
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QNetworkAccessManager network;
    const std::unique_ptr<QProgressDialog> progress = showProgress(url);
    bool canceled = false;
    bool written = true;
    qint64 received = 0;
    QUrl current = url;
    for (int hops = 0;; ++hops) {
        QNetworkRequest request(current);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        request.setTransferTimeout(int(options.transferTimeout.count()));
        const std::unique_ptr<QNetworkReply> reply(network.get(request));
        auto take = [&] {
            if (!reply->isOpen() || !isSuccess(reply.get()))
                return;  // the body of a redirect or an error page is never kept
            const QByteArray data = reply->readAll();
            received += data.size();
            if (received > options.maxBytes || out.write(data) != data.size()) {
                written = false;
                reply->abort();
            }
        };
        QObject::connect(reply.get(), &QNetworkReply::readyRead, reply.get(), take);
        if (progress)
            QObject::connect(progress.get(), &QProgressDialog::canceled, reply.get(), [&] {
                canceled = true;
                reply->abort();
            });
        if (!reply->isFinished()) {
            QEventLoop wait;
            QObject::connect(reply.get(), &QNetworkReply::finished, &wait, &QEventLoop::quit);
            wait.exec();
        }
        take();
        if (written && !canceled && reply->error() == QNetworkReply::NoError && isSuccess(reply.get()))
            return out.commit();
        const QUrl next = redirectTarget(*reply, current);
        if (!written || canceled || next.isEmpty() || hops == kMaxRedirects || !isTrustedHop(current, next)) {
            out.cancelWriting();
            return false;
        }
        current = next;
    }
}

class WaitCursor {
public:
    WaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            m_set = true;
        }
    }
    ~WaitCursor()
    {
        if (m_set)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    bool m_set = false;
};

}  // namespace

QString withoutQuotes(const QString& text)
{
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    return text;
}

QString URLToFileDownload(const QString& URL_Source, const QString& Path_Destination, int Overwrite,
                          const DownloadOptions& options)
{
    const QString address = withoutQuotes(URL_Source);
    const QString destination = withoutQuotes(Path_Destination);
    const QUrl url(address);
    if (!isTrustedAddress(url) || destination.isEmpty())
        return QString();
    const bool destinationIsDir = FileExists(destination) && QFileInfo(destination).isDir();

    QString target;
    if (Overwrite != FreeName) {
        if (destinationIsDir) {
            const QString name = nameInAddress(address);
            if (name.isEmpty())
                return QString();
            target = BuildPath(destination, name);
        } else {
            target = destination;
        }
        if (FileExists(target) && (Overwrite == KeepExisting || QFileInfo(target).isDir()))
            return QString();
    } else {
        target = freeTarget(address, destination, destinationIsDir);
        if (target.isEmpty())
            return QString();
    }

    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    WaitCursor busy;
    return fetch(url, target, options) ? target : QString();
}

}  // namespace web

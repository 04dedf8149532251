#pragma once

// The project's contact lines: shown on the About box and handed to the
// desktop by the contact commands.

#include <QString>
#include <QUrl>

namespace tovu {

inline constexpr char AuthorName[] = "Zespół Tovu";
inline constexpr char AuthorMailAddress[] = "tovu@example.org";
inline constexpr char HomePageAddress[] = "https://tovu.example.org/";

// "mailto:", the address, "?subject=", the subject (the application title).
inline QString AuthorMailLink(const QString& subject)
{
    return QStringLiteral("mailto:") + QString::fromUtf8(AuthorMailAddress) + QStringLiteral("?subject=") + subject;
}

// The subject is percent-encoded so that a title with blanks or "&" still
// reaches the mail program whole.
inline QUrl AuthorMailUrl(const QString& subject)
{
    return QUrl(QStringLiteral("mailto:") + QString::fromUtf8(AuthorMailAddress) + QStringLiteral("?subject=") +
                    QString::fromLatin1(QUrl::toPercentEncoding(subject)),
                QUrl::StrictMode);
}

inline QUrl HomePageUrl()
{
    return QUrl(QString::fromUtf8(HomePageAddress), QUrl::StrictMode);
}

// The hint of the home-page link and of the command that opens it.
inline QString HomePageHint()
{
    return QStringLiteral("Odwiedź stronę ") + QString::fromUtf8(HomePageAddress);
}

}  // namespace tovu

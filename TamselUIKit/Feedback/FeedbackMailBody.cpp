#include "FeedbackMailBody.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace TamselUIKit {
namespace {

QString textBody(const QString& name, const QString& message) {
    if (name.isEmpty()) {
        return message;
    }
    return name + u" wrote:\n\n"_s + message;
}

QJsonArray logsAttachment(const QString& logs) {
    return QJsonArray{QJsonObject{
        {u"Name"_s, u"logs.txt"_s},
        {u"ContentType"_s, u"text/plain"_s},
        {u"Content"_s, QString::fromLatin1(logs.toUtf8().toBase64())},
    }};
}

} // namespace

QByteArray feedbackMailBody(const QString& email, const QString& name, const QString& replyTo,
                            const QString& productName, const QString& message, const QString& logs) {
    QJsonObject body{
        {u"From"_s, email},
        {u"To"_s, email},
        {u"Subject"_s, productName + u" Feedback"_s},
        {u"TextBody"_s, textBody(name, message)},
    };
    if (!replyTo.isEmpty()) {
        body.insert(u"ReplyTo"_s, replyTo);
    }
    if (!logs.isEmpty()) {
        body.insert(u"Attachments"_s, logsAttachment(logs));
    }
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

} // namespace TamselUIKit

#pragma once

#include <QByteArray>
#include <QString>

namespace TamselUIKit {

/// The JSON body of one mail request, as the e-mail service's "/email" endpoint takes it.
QByteArray feedbackMailBody(const QString& email, const QString& name, const QString& replyTo,
                            const QString& productName, const QString& message, const QString& logs);

} // namespace TamselUIKit

#pragma once

#include "App/AppEnvironment.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <TamselUIKit/FeedbackSender.h>

namespace Benchmark {

/// Prepares a benchmark of the application, before its QApplication is made: widgets offscreen unless a
/// platform is asked for, the XDG folders under `home` (no user file is read or written), and audio played
/// into a sink that discards it.
inline void prepareAppEnvironment(const QString& home) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        qputenv(variable, (home + QLatin1Char('/') + QString::fromUtf8(variable)).toUtf8());
    }
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    qputenv("GST_PLUGIN_FEATURE_RANK", "pulsesink:NONE,alsasink:NONE,pipewiresink:NONE,jackaudiosink:NONE");
    qputenv("PULSE_SERVER", "unix:/nonexistent");
}

/// Sends the error reports the application mails by itself to the service it runs on (the demo service takes
/// mail), never to the mail service's own address: a benchmark's traffic stays on the machine. The usage
/// statistics need nothing of the kind: only the application's program starts their client, and a
/// benchmark builds the application from its parts without it.
inline void sendMailToService(const Marrowbell::AppEnvironment& environment) {
    TamselUIKit::FeedbackSender::setBaseURL(
        QString::fromStdString(environment.service().configuration().apiBase));
}

} // namespace Benchmark

#include "App/AppIdentity.h"
#include "App/CommandLineOptions.h"
#include "App/MarrowbellApplication.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marrowbell"));
    QApplication::setApplicationVersion(QString::fromUtf8(Marrowbell::appVersion().data()));

    const auto options = Marrowbell::CommandLineOptions::parse(QApplication::arguments());
    if (!options) {
        return 2;
    }
    Marrowbell::MarrowbellApplication marrowbell;
    if (!marrowbell.start(*options)) {
        return 1;
    }
    return QApplication::exec();
}

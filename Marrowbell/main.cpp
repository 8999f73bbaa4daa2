#include "App/AppIdentity.h"
#include "App/CommandLineOptions.h"
#include "App/MarrowbellApplication.h"

#include <QApplication>
#include <string_view>

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(fromView(Marrowbell::appName));
    QApplication::setApplicationVersion(fromView(Marrowbell::appVersion()));

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

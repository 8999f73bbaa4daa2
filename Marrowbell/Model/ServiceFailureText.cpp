#include "Model/ServiceFailureText.h"

#include <Foundation/DecodingError.h>
#include <MarrowbellCore/Store/SQLError.h>
#include <MarrowbellCore/Sync/IncompleteListingError.h>
#include <MusicKit/MusicDataRequest.h>
#include <MusicKit/URLError.h>
#include <QCoreApplication>

namespace Marrowbell {
namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ServiceFailureText", text);
}

QString transportText(const MusicKit::URLError& error, const QString& service) {
    switch (error.code()) {
    case MusicKit::URLError::Code::timedOut:
        return tr("%1 did not answer in time.").arg(service);
    case MusicKit::URLError::Code::networkConnectionLost:
        return tr("The connection to %1 was lost.").arg(service);
    case MusicKit::URLError::Code::secureConnectionFailed:
        return tr("A secure connection to %1 could not be made.").arg(service);
    case MusicKit::URLError::Code::notConnectedToInternet:
    case MusicKit::URLError::Code::cannotConnectToHost:
    case MusicKit::URLError::Code::unknown:
        break;
    }
    return tr("%1 could not be reached.").arg(service);
}

} // namespace

QString serviceFailureText(const std::exception_ptr& failure, const QString& serviceDisplayName) {
    try {
        std::rethrow_exception(failure);
    } catch (const MusicKit::URLError& error) {
        return transportText(error, serviceDisplayName);
    } catch (const MusicKit::MusicDataRequest::Error& error) {
        return tr("%1 answered with an error (status %2).").arg(serviceDisplayName).arg(error.status());
    } catch (const Foundation::DecodingError&) {
        return tr("%1 sent data that could not be read.").arg(serviceDisplayName);
    } catch (const MarrowbellCore::IncompleteListingError&) {
        return tr("%1 sent an incomplete listing of the library.").arg(serviceDisplayName);
    } catch (const MarrowbellCore::SQLError& error) {
        return tr("The library could not be saved: %1").arg(QString::fromUtf8(error.what()));
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
    }
    return tr("An unknown error occurred.");
}

} // namespace Marrowbell

#pragma once

class QDialog;
class QWidget;

namespace TamselUIKit {

/// Shows `content` in a sheet (a window-modal dialog over `presenter`'s window) and returns it. The sheet
/// owns the content and a HostedWindowDismiss whose action closes the sheet (which then deletes itself),
/// only while both the presenter and the sheet still exist. While a sheet made with
/// `preventsApplicationTerminationWhenModal` shows, requests to quit the application are refused. GUI thread.
QDialog* presentHostedSheet(QWidget& presenter, QWidget* content,
                            bool preventsApplicationTerminationWhenModal);

} // namespace TamselUIKit

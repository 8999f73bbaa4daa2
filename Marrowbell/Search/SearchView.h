#pragma once

#include "Search/SearchViewModel.h"

#include <MarrowbellCore/ItemViews/SearchSection.h>
#include <QWidget>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;

namespace Marrowbell {

class AppModels;
class ObservationTrackingToken;
class SearchPicker;
class SearchResultsModel;
class SearchTask;

/// The search panel's content: the search field with the source picker on one row and, below it, one list
/// of titled result sections. Every keystroke searches at once (the previous search is dropped), as does a
/// change of source, which first empties the list. Keys: Down in the field moves into the list and selects
/// the first result; Up on the first result returns to the field; Return or a double-click plays the
/// selected result and asks to close; Escape asks to close; Ctrl+1 / Ctrl+2 choose the source. Each
/// request to show the panel refocuses the field, clears the selection and scrolls to the top, keeping the
/// text (selected, so that typing replaces it) and the results. GUI thread.
class SearchView final : public QWidget {
    Q_OBJECT

public:
    SearchView(AppModels& models, SearchViewModel& viewModel, const QString& catalogName,
               QWidget* parent = nullptr);
    ~SearchView() override;

    /// The height the panel's content wants: the field row, plus the list's height for the last results.
    int wantedHeight() const { return wantedHeight_; }
    QSize sizeHint() const override;

    QLineEdit* searchField() const { return field_; }
    /// Gives the field the focus with its whole text selected, so that typing replaces it.
    void focusField();
    QListView* resultList() const { return list_; }
    SearchPicker* picker() const { return picker_; }
    const std::vector<MarrowbellCore::SearchSection>& sections() const;
    /// The searches started so far.
    std::uint64_t searchesStarted() const;

Q_SIGNALS:
    /// The content wants `height` pixels (the field row and the list).
    void heightRequested(int height);
    /// Escape, or a result was activated.
    void closeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* makeFieldRow(const QString& catalogName);
    void followViewModel();
    void nameResultList();
    void startSearch();
    void applyResults(const std::vector<MarrowbellCore::SearchSection>& sections, double listHeight);
    void resetOnShow();
    bool handleFieldKey(int key);
    bool handleListKey(int key);
    void selectRow(int row);
    /// The selected result's row, or -1.
    int selectedRow() const;
    void activate(int row);

    AppModels& models_;
    SearchViewModel& viewModel_;
    QLineEdit* field_ = nullptr;
    SearchPicker* picker_ = nullptr;
    QWidget* fieldRow_;
    QListView* list_;
    SearchResultsModel* results_;
    SearchTask* task_;
    int wantedHeight_;
    std::vector<std::shared_ptr<ObservationTrackingToken>> tokens_;
};

} // namespace Marrowbell

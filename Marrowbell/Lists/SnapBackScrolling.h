#pragma once

namespace Marrowbell {

class MainViewModel;

/// Makes the lists bring what a snap-back of `model` selects into view: they forget their saved scroll
/// positions, and every selection the snap-back sets, also through the observers it sets off and the
/// selection it leaves for the detail songs, scrolls its row into view. Once per model; GUI thread.
void scrollListsOnSnapBack(MainViewModel& model);

} // namespace Marrowbell

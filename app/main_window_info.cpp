// The info panel: built with the frame, switched by the ShowInfo command and its close button, and filled
// with the current picture's facts each time the shown picture changes while it is on. The panel never
// asks for a decode: the rows that need the picture come with the first refresh after it was decoded.

#include <memory>
#include <string>

#include "app/info_panel.h"
#include "app/info_rows.h"
#include "app/main_window.h"
#include "core/settings.h"
#include "core/trace.h"

namespace App {

std::unique_ptr<Quarlo::Widget::Widget> MainWindow::BuildInfoPanel() {
  auto panel = std::make_unique<InfoPanel>();
  panel->onClose = [this] {
    infoShown_ = false;
    Quarlo::View::Trace("info hidden");
    RefreshChrome();
  };
  infoPanel_ = panel.get();
  return panel;
}

void MainWindow::ToggleInfo() {
  infoShown_ = !infoShown_ && HasList();
  Quarlo::View::Trace(infoShown_ ? "info shown" : "info hidden");
  if (infoShown_) RefreshInfoPanel();
  RefreshChrome();
}

void MainWindow::RefreshInfoPanel() {
  if (current_ >= list_.items.size()) {
    infoPanel_->ShowNothingOpen();
    return;
  }
  const Quarlo::View::PicturePtr picture = cache_->Get(current_);
  infoPanel_->SetRows(InfoRowsFor(list_, current_, picture.get(), settings_.applyOrientation));
  Quarlo::View::Trace("info " + std::to_string(current_ + 1) + "/" + std::to_string(list_.items.size()) +
                      " " + CurrentName());
}

}  // namespace App

// Opening and closing sources: a path becomes the current list only when it holds pictures; every other
// outcome is reported and leaves the current list as it was. Failures with nothing on screen go to the
// message panel.

#include <algorithm>
#include <string>

#include "app/main_window.h"
#include "app/welcome_panel.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/strings.h"
#include "core/trace.h"
#include "views/picture_view.h"
#include "views/webtoon_view.h"

namespace App {

using Quarlo::View::FormatText;
using Quarlo::View::SourceKind;
using Quarlo::View::Text;
using Quarlo::View::Trace;
using Quarlo::View::ZipStatus;

namespace {

constexpr int kCannotOpen = 15;
constexpr int kNotFound = 16;
constexpr int kArchiveDamaged = 17;
constexpr int kArchiveMethod = 18;
constexpr int kFolderEmpty = 19;
constexpr int kArchiveEmpty = 20;
// No detail id: the source opened, or failed without a reason worth a line.
constexpr int kNoDetail = -1;

std::string OpenLine(const std::string& path, const Quarlo::View::OpenedSource& opened) {
  if (!opened.outcome.succeeded) return "open " + path + " failed";
  return "open " + path + " items=" + std::to_string(opened.list.items.size()) +
         " start=" + std::to_string(opened.outcome.startIndex);
}

}  // namespace

bool MainWindow::Open(const std::string& path, const std::string& startEntry) {
  const std::string normalized = Quarlo::View::NormalizePath(path);
  Quarlo::View::OpenedSource opened = Quarlo::View::OpenSource(normalized, startEntry);
  Trace(OpenLine(normalized, opened));
  if (!opened.outcome.succeeded) {
    ReportOpenFailure(normalized, opened.outcome.archiveStatus, kNoDetail);
    return false;
  }
  if (opened.list.items.empty()) {
    ReportOpenFailure(normalized, ZipStatus::Ok,
                      opened.list.kind == SourceKind::Archive ? kArchiveEmpty : kFolderEmpty);
    return false;
  }
  StopSlideshow();
  endCardShown_ = false;
  messageShown_ = false;
  HideListQuietly();
  list_ = std::move(opened.list);
  size_t start = opened.outcome.startIndex;
  // The order chosen in this run applies to every list opened in it.
  if (sortKey_ != Quarlo::View::SortKey::Name || sortDescending_) {
    start = Quarlo::View::Resort(list_, sortKey_, sortDescending_, start);
  }
  cache_->SetList(list_.items, list_.reader, false);
  ResetImageList();
  current_ = std::min<size_t>(start, list_.items.size() - 1);
  settings_.AddRecent(list_.kind == SourceKind::Archive ? list_.location : normalized);
  pictureView_->SetFitMode(settings_.fitMode);
  if (reloading_) {
    webtoonView_->Relayout();
  } else {
    webtoonView_->ResetStrip();
  }
  RefreshChrome();
  GoTo(current_);
  return true;
}

void MainWindow::ReportOpenFailure(const std::string& path, ZipStatus archiveStatus, int detailId) {
  const std::string headline = FormatText(kCannotOpen, {Quarlo::View::FileNameOf(path)});
  std::string detail;
  if (detailId != kNoDetail) {
    detail = Text(detailId);
  } else if (!Quarlo::View::FileExists(path) && !Quarlo::View::FolderExists(path)) {
    detail = FormatText(kNotFound, {path});
  } else if (archiveStatus == ZipStatus::UnsupportedMethod) {
    detail = Text(kArchiveMethod);
  } else if (archiveStatus != ZipStatus::Ok) {
    detail = Text(kArchiveDamaged);
  }
  if (!HasList() || reloading_) {
    if (reloading_) CloseSource();
    ShowMessage(headline, detail);
    return;
  }
  // The pictures stay on screen; the failure is told over them.
  ShowOpenFailure(headline, detail);
}

void MainWindow::ShowMessage(const std::string& headline, const std::string& detail) {
  messageShown_ = true;
  headline_ = headline;
  detail_ = detail;
  Trace("message " + headline + (detail.empty() ? "" : " | " + detail));
  RefreshChrome();
}

void MainWindow::CloseSource() {
  StopSlideshow();
  HideListQuietly();
  list_ = {};
  cache_->SetList({}, nullptr, false);
  ResetImageList();
  pictureView_->Clear();
  current_ = 0;
  waiting_ = false;
  endCardShown_ = false;
  messageShown_ = false;
  welcomePanel_->FillRecent(settings_.recent);
  RefreshChrome();
}

void MainWindow::Reload() {
  if (!HasList()) return;
  reloading_ = true;
  if (list_.kind == SourceKind::Archive) {
    const std::string archive = list_.location;
    const std::string entry = list_.items[current_].name;
    Open(archive, entry);
  } else {
    const std::string picture = list_.items[current_].path;
    const std::string folder = list_.location;
    Open(Quarlo::View::FileExists(picture) ? picture : folder);
  }
  reloading_ = false;
}

}  // namespace App

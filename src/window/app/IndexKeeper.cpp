#include "window/app/IndexKeeper.h"

#include "window/app/TForm1.h"
#include "platform/TextCodec.h"
#include "window/controls/WxText.h"

namespace movra {

IndexKeeper::IndexKeeper(TForm1& form)
    : form_(form), index_(form.DataFolder()), worker_(form.DataFolder(), &worker_files_) {
  // Also for a complete index a full pass runs: it brings discs changed
  // outside the program in step, and merges the discs' own segments when
  // there are many.
  ready_ = index_.Complete();
  first_build_ = !ready_;
  Post(Job{true, {}});
  thread_ = std::thread([this] { Run(); });
}

IndexKeeper::~IndexKeeper() { Stop(); }

void IndexKeeper::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void IndexKeeper::Post(Job job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stop_) return;
    jobs_.push_back(std::move(job));
  }
  wake_.notify_all();
}

void IndexKeeper::UpdateLater(const std::vector<std::string>& discs) {
  if (!discs.empty()) Post(Job{false, discs});
}

void IndexKeeper::Run() {
  auto stopping = [this] {
    std::lock_guard<std::mutex> lock(mutex_);
    return stop_;
  };
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
      if (stop_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    if (!job.all) {
      worker_.CatchUp(job.discs);
      continue;
    }
    // Progress goes to the window only when its percentage changes.
    int shown = -1;
    const bool finished = worker_.UpdateAll([&](size_t done, size_t total) {
      const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
      if (first_build_ && percent != shown) {
        shown = percent;
        form_.CallAfter([this, percent] { ShowIndexProgress(form_, percent); });
      }
      return !stopping();
    });
    if (finished) {
      const bool shown_progress = first_build_;
      first_build_ = false;
      form_.CallAfter([this, shown_progress] {
        ready_ = true;
        if (shown_progress) ShowIndexProgress(form_, std::nullopt);
      });
    }
  }
}

void ShowIndexProgress(TForm1& form, std::optional<int> percent) {
  // The search's panel; a search's account stays while its results are shown.
  constexpr int kPanel = 2;
  if (form.ResultsPanelShown()) return;
  const std::string text = percent ? Utf8ToGbk("正在建立搜索索引 " + std::to_string(*percent) + "%") : std::string();
  form.SetStatusPanel(kPanel, GbkToWx(text));
}

}  // namespace movra

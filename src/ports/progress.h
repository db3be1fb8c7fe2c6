#pragma once

namespace tallyform::ports {

/// A progress bar shown while a long piece of work runs: Start shows it at 0 of `maximum`, each Step moves
/// it on by one, Finish takes it away.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void Start(int maximum) = 0;
  virtual void Step() = 0;
  virtual void Finish() = 0;
};

}  // namespace tallyform::ports

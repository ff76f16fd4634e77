// The Win32 side of the setup wizard: the wizard window from its template, the pages as child dialogs on the
// page area, the side picture, the dialog font, the About item, F1, the progress dialog with its painted text
// and the installation worker thread. Every decision is the portable Wizard's; this only makes windows and
// forwards their messages.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "installer/StartChecks.h"
#include "installer/Wizard.h"

namespace mq::installer {

class Win32WizardHost : public WizardHost {
 public:
  Win32WizardHost(HINSTANCE module, uint16_t langId);
  ~Win32WizardHost() override;

  // Runs the wizard modally; returns when it has closed.
  INT_PTR Run(Wizard& wizard);

  bool CreatePage(int templateId, int controlId, platform::ui::DialogLogic& logic) override;
  void PrepareDialog(platform::ui::DialogControls& dialog) override;
  void AddAboutItem(std::string_view text) override;
  bool LoadSidePicture(std::string_view path) override;
  void Minimise() override;
  void RunProgress(ProgressLoop& loop) override;
  bool StartWorker(std::function<void()> body) override;
  void JoinWorker() override;
  bool BringToFront(std::string_view title) override;
  std::string ResourceText(int id) override;

 private:
  static INT_PTR CALLBACK WizardProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK PageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK ProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static DWORD WINAPI WorkerEntry(LPVOID body);
  void DrawSidePicture(const DRAWITEMSTRUCT& item) const;
  void PaintWaitText(HWND dialog, const std::string& text);

  HINSTANCE module_;
  DialogFont fontChoice_;
  HFONT dialogFont_ = nullptr;
  HFONT noteFont_ = nullptr;
  HFONT waitFont_ = nullptr;
  HBRUSH noteBrush_ = nullptr;
  HBITMAP side_ = nullptr;
  HICON icon_ = nullptr;
  HWND frame_ = nullptr;
  Wizard* wizard_ = nullptr;
  HANDLE worker_ = nullptr;
};

// The UTF-16 form of a UTF-8 text, and back.
std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace mq::installer

// The in-memory dialog for tests: keeps every control's state by id, journals the calls that act outside the
// dialog (message boxes, sheet notifications, modal dialogs, ending the dialog) under the Windows function
// they stand for, and plays the user: clicks, typing and list choices are applied to the state the way
// Windows does (auto check boxes toggle, auto radio buttons clear their group, an up-down writes its buddy
// edit) and then reported to the attached logic.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <string>
#include <utility>
#include <vector>

#include "platform/fake/CallJournal.h"
#include "platform/ui/DialogControls.h"
#include "platform/ui/DialogLogic.h"

namespace mq::platform::ui {

class FakeDialogControls : public DialogControls {
 public:
  struct TreeNode {
    TreeItem parent = kTreeRoot;
    std::string text;
    int image = 0;
    bool expanded = false;
  };
  struct Control {
    std::string text;
    bool enabled = true;
    bool visible = true;
    std::optional<std::pair<int, int>> movedTo;  // the last Move, in pixels; empty while never moved
    bool checked = false;
    int textLimit = 0;
    std::vector<std::string> items;
    int selection = -1;
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    int lineStep = 0;
    int pageStep = 0;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> rowChecked;
    int rowSelection = -1;
    // The rows a list view shows: visibleRows of them from topRow on (emptying the list scrolls it back).
    int topRow = 0;
    int visibleRows = 10;
    bool fullRowSelect = false;
    std::vector<int> treeImages;
    std::map<TreeItem, TreeNode> tree;  // items in order of addition (ids grow)
    TreeItem treeSelection = kTreeRoot;
    std::optional<Picture> picture;
    std::string toolTip;
    uint32_t extendedStyles = 0;
    int extentFits = 0;  // how often the horizontal extent was fitted to the lines
  };
  struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;
  };

  explicit FakeDialogControls(platform::CallJournal& journal) : journal_(journal) {}

  // --- What the test sets up ---
  // Controls that behave as BS_AUTOCHECKBOX / BS_AUTORADIOBUTTON groups and UDS_SETBUDDYINT pairs when
  // clicked.
  void DeclareCheckBox(int id) { checkBoxes_.insert(id); }
  void DeclareRadioGroup(std::vector<int> ids) { radioGroups_.push_back(std::move(ids)); }
  void DeclareBuddy(int upDown, int edit) { buddies_[upDown] = edit; }
  // Answers for message boxes, in order; kIdOk once they run out.
  void QueueMessageAnswer(int answer) { messageAnswers_.push_back(answer); }
  // Plays the user in a modal dialog: called with the nested dialog after its logic's OnInit. If the script
  // does not end the dialog, RunModal answers kIdCancel as if the user had closed it.
  using ModalScript = std::function<void(FakeDialogControls& dialog, int templateId)>;
  void SetModalScript(ModalScript script) { modalScript_ = std::move(script); }
  // Prepares nested dialogs (declarations) before their logic starts.
  void SetModalSetup(std::function<void(FakeDialogControls&, int templateId)> setup) {
    modalSetup_ = std::move(setup);
  }

  // Binds the logic and sends WM_INITDIALOG.
  void Start(DialogLogic& logic);

  // --- The user ---
  void Click(int id);
  void Type(int id, std::string_view text);  // replaces the text, then EN_CHANGE
  void LeaveEdit(int id);                    // the edit loses the keyboard focus: EN_KILLFOCUS
  // Types one character through the logic's filter; returns whether the edit took it.
  bool TypeChar(int id, char16_t ch, bool controlHeld = false);
  void Choose(int id, int index);  // selects, then CBN_SELCHANGE
  // Selects a list-view row (-1: clicks beside the rows, clearing the selection), then LVN_ITEMCHANGED.
  void ChooseRow(int id, int row);
  // Double-clicks a list-view row: the click selects it (LVN_ITEMCHANGED), then NM_DBLCLK.
  void DoubleClickRow(int id, int row);
  // Drags a track bar to position (clamped to its range), then releases it when released is set.
  void Slide(int id, int position, bool released = true);
  void Paint();
  intptr_t SendSheetEvent(SheetEvent event);
  // F1 (WM_HELP) and a system-menu command (WM_SYSCOMMAND); each returns the logic's answer.
  bool PressHelp();
  bool SystemCommand(int command);

  // --- What the test reads ---
  Control& At(int id) { return controls_[id]; }
  bool Has(int id) const { return controls_.count(id) != 0; }
  const std::string& Title() const { return title_; }
  const std::vector<Message>& Messages() const { return messages_; }
  std::optional<int> EndedWith() const { return ended_; }
  platform::CallJournal& Journal() { return journal_; }
  const std::optional<DialogFont>& Font() const { return font_; }
  // The system menu's added items (command, text), in order.
  const std::vector<std::pair<int, std::string>>& SystemMenu() const { return systemMenu_; }
  int Icon() const { return icon_; }

  // --- DialogControls ---
  void SetTitle(std::string_view text) override { title_ = std::string(text); }
  void SetText(int id, std::string_view text) override { controls_[id].text = std::string(text); }
  std::string GetText(int id) override { return Find(id) ? Find(id)->text : std::string(); }
  void SetTextLimit(int id, int characters) override { controls_[id].textLimit = characters; }
  void Enable(int id, bool enabled) override { controls_[id].enabled = enabled; }
  bool IsEnabled(int id) override { return Find(id) ? Find(id)->enabled : false; }
  void Show(int id, bool visible) override { controls_[id].visible = visible; }
  bool IsVisible(int id) override { return Find(id) ? Find(id)->visible : false; }
  void Move(int id, int x, int y) override { controls_[id].movedTo = std::make_pair(x, y); }
  void SetChecked(int id, bool checked) override { controls_[id].checked = checked; }
  bool IsChecked(int id) override { return Find(id) ? Find(id)->checked : false; }
  void ClearItems(int id) override;
  int AddItem(int id, std::string_view text) override;
  int ItemCount(int id) override { return Find(id) ? static_cast<int>(Find(id)->items.size()) : 0; }
  std::string ItemText(int id, int index) override;
  void SetSelection(int id, int index) override;
  int Selection(int id) override { return Find(id) ? Find(id)->selection : -1; }
  void SetRange(int id, int minimum, int maximum) override;
  void SetPosition(int id, int position) override;
  int Position(int id) override { return Find(id) ? Find(id)->position : 0; }
  void SetTrackSteps(int id, int lineStep, int pageStep) override {
    controls_[id].lineStep = lineStep;
    controls_[id].pageStep = pageStep;
  }
  void ListViewAddColumn(int id, std::string_view title, int width) override;
  void ListViewClear(int id) override;
  int ListViewAddRow(int id, const std::vector<std::string>& cells) override;
  int ListViewRowCount(int id) override { return Find(id) ? static_cast<int>(Find(id)->rows.size()) : 0; }
  std::string ListViewCell(int id, int row, int column) override;
  void ListViewSetChecked(int id, int row, bool checked) override;
  bool ListViewIsChecked(int id, int row) override;
  void ListViewSelect(int id, int row) override;
  int ListViewSelection(int id) override { return Find(id) ? Find(id)->rowSelection : -1; }
  void ListViewSelectFullRows(int id) override { controls_[id].fullRowSelect = true; }
  void ListViewEnsureVisible(int id, int row) override;
  void TreeSetImages(int id, const std::vector<int>& iconIds) override { controls_[id].treeImages = iconIds; }
  TreeItem TreeAdd(int id, TreeItem parent, std::string_view text, int image) override;
  void TreeSetText(int id, TreeItem item, std::string_view text) override;
  std::string TreeText(int id, TreeItem item) override;
  void TreeExpand(int id, TreeItem item) override;
  void TreeSelect(int id, TreeItem item) override;
  void SetPicture(int id, const Picture& picture) override {
    if (picture.Empty())
      controls_[id].picture.reset();
    else
      controls_[id].picture = picture;
  }
  void Focus(int id) override { focus_ = id; }
  int Focused() const { return focus_; }
  void SetToolTip(int id, std::string_view text) override { controls_[id].toolTip = std::string(text); }
  int ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                  MessageButtons buttons) override;
  void SheetChanged() override;
  void SheetUnchanged() override;
  void SheetSetResult(intptr_t result) override;
  void Repaint() override;
  int RunModal(int templateId, DialogLogic& logic) override;
  void EndDialog(int result) override;
  void SetDialogFont(const DialogFont& font) override { font_ = font; }
  void AddSystemMenuItem(int command, std::string_view text) override {
    systemMenu_.emplace_back(command, std::string(text));
  }
  void SetIcon(int iconId) override { icon_ = iconId; }
  void ListViewDeleteRow(int id, int row) override;
  void ListViewAddExtendedStyles(int id, uint32_t styles) override { controls_[id].extendedStyles |= styles; }
  void FitHorizontalExtent(int id) override { ++controls_[id].extentFits; }

 private:
  Control* Find(int id) {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
  }

  platform::CallJournal& journal_;
  DialogLogic* logic_ = nullptr;
  std::map<int, Control> controls_;
  std::string title_;
  std::set<int> checkBoxes_;
  std::vector<std::vector<int>> radioGroups_;
  std::map<int, int> buddies_;
  std::vector<int> messageAnswers_;
  std::vector<Message> messages_;
  ModalScript modalScript_;
  std::function<void(FakeDialogControls&, int)> modalSetup_;
  std::optional<int> ended_;
  TreeItem nextTreeItem_ = 1;
  int focus_ = 0;
  std::optional<DialogFont> font_;
  std::vector<std::pair<int, std::string>> systemMenu_;
  int icon_ = 0;
};

}  // namespace mq::platform::ui

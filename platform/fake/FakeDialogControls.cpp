// The in-memory dialog: control state by id, the user's actions, and the journal of outside effects.
#include "platform/fake/FakeDialogControls.h"

#include <algorithm>

#include "platform/Text.h"

namespace mq::platform::ui {

void FakeDialogControls::Start(DialogLogic& logic) {
  logic_ = &logic;
  logic.OnInit(*this);
}

void FakeDialogControls::Click(int id) {
  if (checkBoxes_.count(id) != 0) controls_[id].checked = !controls_[id].checked;
  for (const auto& group : radioGroups_) {
    if (std::find(group.begin(), group.end(), id) == group.end()) continue;
    for (int member : group) controls_[member].checked = (member == id);
  }
  if (logic_ != nullptr) logic_->OnCommand(*this, id, ControlEvent::kClicked);
}

void FakeDialogControls::Type(int id, std::string_view text) {
  controls_[id].text = std::string(text);
  if (logic_ != nullptr) logic_->OnCommand(*this, id, ControlEvent::kTextChanged);
}

void FakeDialogControls::LeaveEdit(int id) {
  if (focus_ == id) focus_ = 0;
  if (logic_ != nullptr) logic_->OnCommand(*this, id, ControlEvent::kFocusLost);
}

bool FakeDialogControls::TypeChar(int id, char16_t ch, bool controlHeld) {
  if (logic_ != nullptr) {
    auto filtered = logic_->FilteredEdits();
    if (std::find(filtered.begin(), filtered.end(), id) != filtered.end() &&
        !logic_->AcceptChar(id, ch, controlHeld))
      return false;
  }
  if (controlHeld) return true;  // a shortcut, not text
  std::string& text = controls_[id].text;
  if (ch == u'\b') {
    if (!text.empty()) text = text::TruncateUtf16(text, text::Utf16Length(text) - 1);
  } else {
    text += text::Utf16ToUtf8(std::u16string(1, ch));
  }
  if (logic_ != nullptr) logic_->OnCommand(*this, id, ControlEvent::kTextChanged);
  return true;
}

void FakeDialogControls::Choose(int id, int index) {
  SetSelection(id, index);
  if (logic_ != nullptr) logic_->OnCommand(*this, id, ControlEvent::kSelectionChanged);
}

void FakeDialogControls::ChooseRow(int id, int row) {
  ListViewSelect(id, row);
  if (logic_ != nullptr) logic_->OnCommand(*this, id, ControlEvent::kSelectionChanged);
}

void FakeDialogControls::DoubleClickRow(int id, int row) {
  ChooseRow(id, row);
  if (logic_ != nullptr) logic_->OnCommand(*this, id, ControlEvent::kDoubleClicked);
}

void FakeDialogControls::Slide(int id, int position, bool released) {
  SetPosition(id, position);
  if (logic_ == nullptr) return;
  logic_->OnCommand(*this, id, ControlEvent::kScrolled);
  if (released) logic_->OnCommand(*this, id, ControlEvent::kScrollEnded);
}

void FakeDialogControls::Paint() {
  if (logic_ != nullptr) logic_->OnPaint(*this);
}

intptr_t FakeDialogControls::SendSheetEvent(SheetEvent event) {
  return logic_ != nullptr ? logic_->OnSheetEvent(*this, event) : 0;
}

bool FakeDialogControls::PressHelp() {
  return logic_ != nullptr && logic_->OnHelp(*this);
}

bool FakeDialogControls::SystemCommand(int command) {
  return logic_ != nullptr && logic_->OnSystemCommand(*this, command);
}

void FakeDialogControls::ClearItems(int id) {
  controls_[id].items.clear();
  controls_[id].selection = -1;
}

int FakeDialogControls::AddItem(int id, std::string_view text) {
  controls_[id].items.emplace_back(text);
  return static_cast<int>(controls_[id].items.size()) - 1;
}

std::string FakeDialogControls::ItemText(int id, int index) {
  Control* c = Find(id);
  if (c == nullptr || index < 0 || index >= static_cast<int>(c->items.size())) return {};
  return c->items[index];
}

void FakeDialogControls::SetSelection(int id, int index) {
  Control& c = controls_[id];
  c.selection = (index >= 0 && index < static_cast<int>(c.items.size())) ? index : -1;
}

void FakeDialogControls::SetRange(int id, int minimum, int maximum) {
  Control& c = controls_[id];
  c.minimum = minimum;
  c.maximum = maximum;
  c.position = std::clamp(c.position, std::min(minimum, maximum), std::max(minimum, maximum));
}

void FakeDialogControls::SetPosition(int id, int position) {
  Control& c = controls_[id];
  c.position = std::clamp(position, std::min(c.minimum, c.maximum), std::max(c.minimum, c.maximum));
  auto buddy = buddies_.find(id);
  if (buddy != buddies_.end()) controls_[buddy->second].text = std::to_string(c.position);
}

void FakeDialogControls::ListViewAddColumn(int id, std::string_view title, int) {
  controls_[id].columns.emplace_back(title);
}

void FakeDialogControls::ListViewClear(int id) {
  controls_[id].rows.clear();
  controls_[id].rowChecked.clear();
  controls_[id].rowSelection = -1;
  controls_[id].topRow = 0;
}

int FakeDialogControls::ListViewAddRow(int id, const std::vector<std::string>& cells) {
  controls_[id].rows.push_back(cells);
  controls_[id].rowChecked.push_back(false);
  return static_cast<int>(controls_[id].rows.size()) - 1;
}

std::string FakeDialogControls::ListViewCell(int id, int row, int column) {
  Control* c = Find(id);
  if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size())) return {};
  const auto& cells = c->rows[row];
  return column >= 0 && column < static_cast<int>(cells.size()) ? cells[column] : std::string();
}

void FakeDialogControls::ListViewSetChecked(int id, int row, bool checked) {
  Control& c = controls_[id];
  if (row >= 0 && row < static_cast<int>(c.rowChecked.size())) c.rowChecked[row] = checked;
}

void FakeDialogControls::ListViewDeleteRow(int id, int row) {
  Control& c = controls_[id];
  if (row < 0 || row >= static_cast<int>(c.rows.size())) return;
  c.rows.erase(c.rows.begin() + row);
  c.rowChecked.erase(c.rowChecked.begin() + row);
  if (c.rowSelection == row)
    c.rowSelection = -1;
  else if (c.rowSelection > row)
    --c.rowSelection;
}

bool FakeDialogControls::ListViewIsChecked(int id, int row) {
  Control* c = Find(id);
  return c != nullptr && row >= 0 && row < static_cast<int>(c->rowChecked.size()) && c->rowChecked[row];
}

void FakeDialogControls::ListViewSelect(int id, int row) {
  Control& c = controls_[id];
  c.rowSelection = (row >= 0 && row < static_cast<int>(c.rows.size())) ? row : -1;
}

void FakeDialogControls::ListViewEnsureVisible(int id, int row) {
  Control& c = controls_[id];
  if (row < 0 || row >= static_cast<int>(c.rows.size())) return;
  if (row < c.topRow)
    c.topRow = row;
  else if (row >= c.topRow + c.visibleRows)
    c.topRow = row - c.visibleRows + 1;
}

TreeItem FakeDialogControls::TreeAdd(int id, TreeItem parent, std::string_view text, int image) {
  Control& c = controls_[id];
  if (parent != kTreeRoot && c.tree.count(parent) == 0) return kTreeRoot;
  TreeItem item = nextTreeItem_++;
  c.tree[item] = TreeNode{parent, std::string(text), image, false};
  return item;
}

void FakeDialogControls::TreeSetText(int id, TreeItem item, std::string_view text) {
  auto& tree = controls_[id].tree;
  if (auto it = tree.find(item); it != tree.end()) it->second.text = std::string(text);
}

std::string FakeDialogControls::TreeText(int id, TreeItem item) {
  auto& tree = controls_[id].tree;
  auto it = tree.find(item);
  return it == tree.end() ? std::string() : it->second.text;
}

void FakeDialogControls::TreeExpand(int id, TreeItem item) {
  auto& tree = controls_[id].tree;
  if (auto it = tree.find(item); it != tree.end()) it->second.expanded = true;
}

void FakeDialogControls::TreeSelect(int id, TreeItem item) {
  if (controls_[id].tree.count(item) != 0) controls_[id].treeSelection = item;
}

int FakeDialogControls::ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                                    MessageButtons buttons) {
  journal_.Enter("MessageBoxW", {{"text", std::string(text)}, {"caption", std::string(caption)}});
  messages_.push_back(Message{std::string(text), std::string(caption), icon, buttons});
  if (messageAnswers_.empty()) return kIdOk;
  int answer = messageAnswers_.front();
  messageAnswers_.erase(messageAnswers_.begin());
  return answer;
}

void FakeDialogControls::SheetChanged() {
  journal_.Enter("SendMessageW", {{"message", "PSM_CHANGED"}});
}

void FakeDialogControls::SheetUnchanged() {
  journal_.Enter("SendMessageW", {{"message", "PSM_UNCHANGED"}});
}

void FakeDialogControls::SheetSetResult(intptr_t result) {
  journal_.Enter("pfnComPropSheet", {{"function", "CPSFUNC_SET_RESULT"}, {"result", std::to_string(result)}});
}

void FakeDialogControls::Repaint() {
  journal_.Enter("InvalidateRect", {});
}

int FakeDialogControls::RunModal(int templateId, DialogLogic& logic) {
  if (journal_.Enter("DialogBoxParamW", {{"template", std::to_string(templateId)}}) != 0) return -1;
  FakeDialogControls dialog(journal_);
  if (modalSetup_) modalSetup_(dialog, templateId);
  dialog.Start(logic);
  if (modalScript_) modalScript_(dialog, templateId);
  return dialog.ended_.value_or(kIdCancel);
}

void FakeDialogControls::EndDialog(int result) {
  journal_.Enter("EndDialog", {{"result", std::to_string(result)}});
  if (!ended_) ended_ = result;
}

}  // namespace mq::platform::ui

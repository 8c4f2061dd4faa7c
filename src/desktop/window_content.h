#pragma once
// What every kind of child window of the main window shows (a form, the result text, the
// plot) offers the main window.

namespace qalto {

class WindowContent {
 public:
  virtual ~WindowContent() = default;
  // After every event: brings what the model does not announce on its own up to date.
  virtual void Refresh() {}
  // After a background run, during which the content did not follow its model: everything is
  // shown anew.
  virtual void Resync() {}
  // True once after the content's layout changed (controls shown or hidden), so that the
  // window can take the size the content asks for.
  virtual bool TakeLayoutChange() { return false; }
  // The model behind the content is about to go: stop observing it.
  virtual void Detach() = 0;
};

}  // namespace qalto

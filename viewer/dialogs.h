// The dialogs' logic: each holds its controls' texts and reacts to their events. A form binds
// the texts to its controls; the dialog says where the focus goes and when it has closed.
#pragma once

#include <array>
#include <string>

#include "viewer/module1.h"

namespace viewer {

class ViewerApp;

constexpr char kEnterKey = '\r';

class DialogBase {
 public:
  bool closed() const { return closed_; }
  // The control that should have the focus after the last event ("" for no change).
  const std::string& focus() const { return focus_; }

 protected:
  void close() { closed_ = true; }
  bool closed_ = false;
  std::string focus_;
};

// Frmbookdata: creates a new book or edits the open one.
class BookDataDialog : public DialogBase {
 public:
  explicit BookDataDialog(ViewerApp& app) : app_(app) {}
  std::string txtbooktitle, txtallpage, txtbookcover, txtbookdata;
  // The picture Imgpre shows stretched to its box; empty for none.
  std::string preview;

  void load();
  // KeyPress of a text box by its name; true when the key was swallowed.
  bool keyPress(const std::string& control, char key);
  void cmdref1();
  void cmdref2();
  void cmdpre();
  void cmdok();
  void cmdcancel() { close(); }

 private:
  ViewerApp& app_;
};

// Frmbookmark: ten rows of page and title; slot i is index i - 1.
class BookmarkDialog : public DialogBase {
 public:
  explicit BookmarkDialog(ViewerApp& app) : app_(app) {}
  std::array<std::string, 10> txtmark, txttitle;

  void load();
  void jump(int row);  // Click of Lbljump(row), row 1 to 10
  bool keyPress(const std::string& control, int row, char key);
  void cmdok();
  void cmdcancel() { close(); }

 private:
  ViewerApp& app_;
};

// Frmini: the options dialog.
class OptionsDialog : public DialogBase {
 public:
  explicit OptionsDialog(ViewerApp& app) : app_(app) {}
  bool check1 = false;
  std::string txtgotab, txtbacktab, txtauto;

  void load();
  void cmdok();
  void cmdcancel() { close(); }
  void cmdallnew();

 private:
  ViewerApp& app_;
};

// Frmver: the version dialog.
class VersionDialog : public DialogBase {
 public:
  explicit VersionDialog(ViewerApp& app) : app_(app) {}
  std::string caption;
  std::string lblversion = "ﾊﾞｰｼﾞｮﾝ";
  std::string icon;  // the program's picture beside the program, shown by picIcon

  void load();
  void cmdok() { close(); }

 private:
  ViewerApp& app_;
};

}  // namespace viewer

// What the GTK chooser's answers mean, and the case-blind patterns its type list is given.

#include "widget/detail/gtk_file_picker.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace Quarlo::Widget::Detail {
namespace {

TEST(GtkFilePicker, OnlyAcceptChoosesEveryOtherResponseCancels) {
  EXPECT_EQ(OutcomeOfResponse(GTK_RESPONSE_ACCEPT), PickerOutcome::Accepted);
  // Escape and the close button give DELETE_EVENT; GTK's own dialog may answer OK, YES or APPLY.
  for (int response : std::initializer_list<int>{
           GTK_RESPONSE_CANCEL, GTK_RESPONSE_DELETE_EVENT, GTK_RESPONSE_NONE, GTK_RESPONSE_REJECT,
           GTK_RESPONSE_CLOSE, GTK_RESPONSE_OK, GTK_RESPONSE_YES, GTK_RESPONSE_APPLY, 0, 1, 42}) {
    SCOPED_TRACE(response);
    EXPECT_EQ(OutcomeOfResponse(response), PickerOutcome::Cancelled);
  }
}

TEST(GtkFilePicker, PatternsMatchEitherCase) {
  struct Case {
    const char* pattern;
    const char* expected;
  };
  const Case cases[] = {{"*.jpg", "*.[jJ][pP][gG]"},
                        {"*.JPEG", "*.[jJ][pP][eE][gG]"},
                        {"*.7z", "*.7[zZ]"},
                        {"*.[ch]", "*.[ch]"},
                        {"*", "*"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(CaseInsensitivePattern(c.pattern), c.expected);
  }
}

TEST(GtkFilePicker, ACaseBlindFilterMatchesUpperCaseNames) {
  GtkFileFilter* filter = gtk_file_filter_new();
  g_object_ref_sink(filter);
  gtk_file_filter_add_pattern(filter, CaseInsensitivePattern("*.jpg").c_str());
  for (const char* name : {"photo.jpg", "PHOTO.JPG", "Photo.Jpg"}) {
    GtkFileFilterInfo info{};
    info.contains = GTK_FILE_FILTER_DISPLAY_NAME;
    info.display_name = name;
    EXPECT_TRUE(gtk_file_filter_filter(filter, &info)) << name;
  }
  GtkFileFilterInfo other{};
  other.contains = GTK_FILE_FILTER_DISPLAY_NAME;
  other.display_name = "photo.png";
  EXPECT_FALSE(gtk_file_filter_filter(filter, &other));
  g_object_unref(filter);
}

}  // namespace
}  // namespace Quarlo::Widget::Detail

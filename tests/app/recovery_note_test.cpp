// The note beside a recovery copy: any file name survives it, and a note
// cannot aim Save at a file the document never was.
#include <gtest/gtest.h>

#include "app/state/recovery_note.h"

namespace cubrik {
namespace {

TEST(RecoveryNote, AnyFileNameReadsBackAsWritten) {
    const RecoveryNote note{"/dir/a\nb %41\xe9=.cbk", "a\nb %41\xe9=", 0, 12.5};
    const RecoveryNote back = parseRecoveryNote(formatRecoveryNote(note));
    EXPECT_EQ(back.path, note.path);
    EXPECT_EQ(back.title, note.title);
    EXPECT_EQ(back.untitled, 0);
    EXPECT_EQ(back.time, 12.5);
}

TEST(RecoveryNote, OnlyAnAbsoluteModelFileIsTakenAsTheDocumentsFile) {
    for (const char* text : {"path=/somewhere/victim.conf\ntitle=victim\nuntitled=0\n",
                             "path=penguin.cbk\ntitle=victim\nuntitled=0\n", "title=victim\nuntitled=0\n",
                             "path=/a%zz.cbk\ntitle=victim\nuntitled=0\n"}) {
        const RecoveryNote note = parseRecoveryNote(text);
        EXPECT_EQ(note.untitled, 1) << text;
        EXPECT_EQ(note.path, "victim.cbk") << text;
    }
    EXPECT_EQ(parseRecoveryNote("path=/m/penguin.CBK\nuntitled=0\n").untitled, 0);
    const RecoveryNote lowerCase = parseRecoveryNote("path=/m/a%2fcaf%c3%a9.cbk\ntitle=caf%c3%a9\nuntitled=0\n");
    EXPECT_EQ(lowerCase.path, "/m/a/caf\xc3\xa9.cbk");  // escapes in either letter case
    EXPECT_EQ(lowerCase.title, "caf\xc3\xa9");
    EXPECT_EQ(lowerCase.untitled, 0);
}

}  // namespace
}  // namespace cubrik

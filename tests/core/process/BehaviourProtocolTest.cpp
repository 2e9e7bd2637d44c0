#include <gtest/gtest.h>

#include "core/process/BehaviourProtocol.h"
#include "core/store/TimeBase.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

TEST(BehaviourProtocol, KeysMakeCodes)
{
    EXPECT_EQ(BehaviourCode({'A'}), 'A');
    EXPECT_EQ(BehaviourCode({'7'}), '7');
    EXPECT_EQ(BehaviourCode({'Z'}), 'Z');
    EXPECT_EQ(BehaviourCode({';'}), std::nullopt);  // the codes between digits and letters
    EXPECT_EQ(BehaviourCode({'@'}), std::nullopt);
    EXPECT_EQ(BehaviourCode({'1', true}), std::nullopt);         // keypad
    EXPECT_EQ(BehaviourCode({'Z', false, true}), std::nullopt);  // Ctrl+Z is Undo, not a behaviour
    EXPECT_EQ(BehaviourCode({'S', false, false, true}), std::nullopt);
    EXPECT_EQ(BehaviourCode({0x01000030}), std::nullopt);  // a function key
}

TEST(BehaviourProtocol, RowsAndFile)
{
    const double start = EncodeTime(2021, 6, 5, 14, 0, 0);
    const ProtocolRow row = ProtocolEntry(start, 207000, 210500, 'Q', '.');
    EXPECT_EQ(row, (ProtocolRow{"05.06.2021 14:03:27", "05.06.2021 14:03:30", "Q"}));
    EXPECT_EQ(ProtocolEntry(start, 0, 0, '1', '/').onset, "05/06/2021 14:00:00");
    EXPECT_EQ(ProtocolText({row, row}),
              "05.06.2021 14:03:27\t05.06.2021 14:03:30\tQ\r\n"
              "05.06.2021 14:03:27\t05.06.2021 14:03:30\tQ\r\n\r\n");
    EXPECT_EQ(ProtocolText({}), "\r\n");
}

TEST(BehaviourProtocol, SavingAndItsRefusals)
{
    test::TempDir dir;
    const std::vector<ProtocolRow> rows{{"a", "b", "C"}};
    ScriptedDialogs ui;

    // A name without extension gets ".txt"; the dialog starts in the depth file's folder.
    ui.files.push_back(dir.file("seal"));
    EXPECT_EQ(SaveProtocol(rows, dir.path(), ui), ProtocolClose::Closed);
    EXPECT_EQ(test::TempDir::read(dir.file("seal.txt")), "a\tb\tC\r\n\r\n");
    EXPECT_EQ(ui.fileRequests.back().start, dir.path());
    EXPECT_TRUE(ui.fileRequests.back().save);

    // An empty list: the file holds the final empty line; cancelling loses nothing.
    ui.files.push_back(dir.file("empty.txt"));
    EXPECT_EQ(SaveProtocol({}, dir.path(), ui), ProtocolClose::Closed);
    EXPECT_EQ(test::TempDir::read(dir.file("empty.txt")), "\r\n");
    EXPECT_EQ(SaveProtocol({}, dir.path(), ui), ProtocolClose::Closed);
    EXPECT_TRUE(ui.shown.empty());

    // Cancel with rows: No keeps them, Yes drops them.
    ui.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(SaveProtocol(rows, dir.path(), ui), ProtocolClose::Kept);
    EXPECT_EQ(SaveProtocol(rows, dir.path(), ui), ProtocolClose::Closed);
    EXPECT_EQ(ui.texts().back(), "The protocol's 1 rows are not saved. Discard them?");

    // A file that cannot be written: the reason, then the same question.
    ui.shown.clear();
    ui.files.push_back(dir.file("no/folder/x.txt"));
    ui.answers = {Answer::No};
    EXPECT_EQ(SaveProtocol(rows, dir.path(), ui), ProtocolClose::Kept);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_NE(ui.shown[0].text.find("No such file or directory"), std::string::npos);
}

}  // namespace

}  // namespace vk

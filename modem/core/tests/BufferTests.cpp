#include "modem/core/Buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

class BufferTest : public ::testing::Test {
protected:
    BufferTest() { InitializeCriticalSection(&m_lock); }
    ~BufferTest() override { DeleteCriticalSection(&m_lock); }

    void Fill(int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(m_queue.Push("cmd" + std::to_string(i), "data" + std::to_string(i), ckAnswered));
    }

    CRITICAL_SECTION m_lock;
    TBuffer m_queue{10, m_lock};
};

TEST_F(BufferTest, TenFitTheEleventhIsRefusedAndOneRemovalMakesRoom)
{
    EXPECT_TRUE(m_queue.IsEmpty());
    Fill(9);
    EXPECT_FALSE(m_queue.IsFull());
    Fill(1);
    EXPECT_TRUE(m_queue.IsFull());
    EXPECT_EQ(m_queue.GetTail(), 0) << "the tenth push wraps the tail to the head";
    EXPECT_EQ(m_queue.Count(), 10);
    EXPECT_FALSE(m_queue.Push("eleventh", "", ckAnswered));
    EXPECT_EQ(m_queue.Count(), 10);

    ASSERT_TRUE(m_queue.Remove(m_queue.GetHead()));
    EXPECT_FALSE(m_queue.IsFull());
    EXPECT_EQ(m_queue.Count(), 9);
    EXPECT_TRUE(m_queue.Push("again", "", ckAnswered));
    EXPECT_FALSE(m_queue.Push("over", "", ckAnswered));
}

TEST_F(BufferTest, RemovingTheHeadOfAFullQueueMovesTheRestDownInOrder)
{
    Fill(10);
    ASSERT_TRUE(m_queue.Remove(0));
    for (int i = 1; i < 10; ++i) {
        const TCommand head = m_queue.Head();
        EXPECT_EQ(head.Cmd, "cmd" + std::to_string(i));
        EXPECT_EQ(head.Data, "data" + std::to_string(i));
        ASSERT_TRUE(m_queue.Remove(m_queue.GetHead()));
    }
    EXPECT_TRUE(m_queue.IsEmpty());
}

TEST_F(BufferTest, RemovingFromAMiddleSlotKeepsTheOthers)
{
    Fill(4);
    ASSERT_TRUE(m_queue.Remove(2));
    std::vector<std::string> left;
    while (!m_queue.IsEmpty()) {
        left.push_back(m_queue.Head().Cmd);
        ASSERT_TRUE(m_queue.Remove(0));
    }
    EXPECT_EQ(left, (std::vector<std::string>{"cmd0", "cmd1", "cmd3"}));
}

TEST_F(BufferTest, RemovingFromAnEmptyQueueOrAnEmptySlotChangesNothing)
{
    EXPECT_FALSE(m_queue.Remove(0));
    Fill(2);
    EXPECT_FALSE(m_queue.Remove(2));
    EXPECT_FALSE(m_queue.Remove(-1));
    EXPECT_EQ(m_queue.Count(), 2);
    ASSERT_TRUE(m_queue.Remove(0));
    ASSERT_TRUE(m_queue.Remove(0));
    EXPECT_TRUE(m_queue.IsEmpty());
    EXPECT_FALSE(m_queue.Remove(0));
    EXPECT_EQ(m_queue.Head().Cmd, "");
}

TEST_F(BufferTest, ACommandTooLongIsRefusedWholeNeverCut)
{
    // A cut SMS command would lose its Ctrl-Z and leave the modem in text mode.
    const std::string longest(TBuffer::MaxCmdLength, 'A');
    EXPECT_TRUE(m_queue.Push(longest, "", ckAnswered));
    EXPECT_FALSE(m_queue.Push(longest + "\x1A", "", ckAnswered));
    EXPECT_EQ(m_queue.Count(), 1);
    EXPECT_EQ(m_queue.Head().Cmd, longest);

    // Received text is kept whole, line breaks and all.
    const std::string block = "\r\n" + std::string(2000, 'x') + "\r\n";
    ASSERT_TRUE(m_queue.Push("", block, ckAnswered));
    ASSERT_TRUE(m_queue.Remove(0));
    EXPECT_EQ(m_queue.Head().Data, block);
}

TEST_F(BufferTest, ClearEmptiesAFullQueueAndEveryChangeIsTold)
{
    int changes = 0;
    m_queue.SetOnChange([&] { ++changes; });
    Fill(10);
    EXPECT_FALSE(m_queue.Push("refused", "", ckAnswered));
    EXPECT_EQ(changes, 10);
    m_queue.Clear();
    EXPECT_EQ(changes, 11);
    EXPECT_TRUE(m_queue.IsEmpty());
    EXPECT_FALSE(m_queue.IsFull());
    EXPECT_EQ(m_queue.Count(), 0);
    Fill(10);
}

TEST_F(BufferTest, OneProducerAndOneConsumerPassEveryRecordInOrder)
{
    constexpr int Records = 20000;
    std::thread producer([&] {
        for (int i = 0; i < Records;)
            if (m_queue.Push(std::to_string(i), "", ckAnswered))
                ++i;
            else
                std::this_thread::yield();
    });
    int expected = 0;
    while (expected < Records) {
        if (m_queue.IsEmpty()) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(m_queue.Head().Cmd, std::to_string(expected));
        ASSERT_TRUE(m_queue.Remove(m_queue.GetHead()));
        ++expected;
    }
    producer.join();
    EXPECT_TRUE(m_queue.IsEmpty());
}

} // namespace

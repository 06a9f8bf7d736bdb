// The weather channel: many senders, one receiver, no locks. Also built on its own under
// ThreadSanitizer (the vessa_tsan_tests target).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "weather/channel.hpp"

namespace vessa {
namespace {

struct Message {
  int producer = 0;
  int sequence = 0;
};

// Counts the values alive, to show that every message is freed exactly once.
std::atomic<int> g_alive{0};

struct Tracked {
  explicit Tracked(int v) : value(v) { g_alive.fetch_add(1, std::memory_order_relaxed); }
  Tracked(const Tracked& other) : value(other.value) { g_alive.fetch_add(1, std::memory_order_relaxed); }
  Tracked(Tracked&& other) noexcept : value(other.value) { g_alive.fetch_add(1, std::memory_order_relaxed); }
  Tracked& operator=(const Tracked&) = default;
  Tracked& operator=(Tracked&&) = default;
  ~Tracked() { g_alive.fetch_sub(1, std::memory_order_relaxed); }
  int value = 0;
};

TEST(WeatherChannel, OneSenderArrivesInOrder) {
  Channel<int> channel;
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(channel.sender.send(i));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(channel.receiver.try_receive(), std::optional<int>(i));
  EXPECT_EQ(channel.receiver.try_receive(), std::nullopt);
  EXPECT_TRUE(channel.sender.send(5));
  EXPECT_EQ(channel.receiver.try_receive(), std::optional<int>(5));
  EXPECT_EQ(channel.receiver.try_receive(), std::nullopt);
}

TEST(WeatherChannel, AnEmptyChannelNeverBlocks) {
  Channel<int> channel;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(channel.receiver.try_receive(), std::nullopt);
}

TEST(WeatherChannel, MessagesSentBetweenReceivesKeepArrivalOrder) {
  Channel<int> channel;
  Sender<int> other = channel.sender;
  channel.sender.send(1);
  other.send(2);
  EXPECT_EQ(channel.receiver.try_receive(), std::optional<int>(1));
  channel.sender.send(3);  // arrives while 2 is still waiting in the receiver's batch
  other.send(4);
  EXPECT_EQ(channel.receiver.try_receive(), std::optional<int>(2));
  EXPECT_EQ(channel.receiver.try_receive(), std::optional<int>(3));
  EXPECT_EQ(channel.receiver.try_receive(), std::optional<int>(4));
  EXPECT_EQ(channel.receiver.try_receive(), std::nullopt);
}

TEST(WeatherChannel, ManySendersEachMessageOnceInEachSendersOrder) {
  constexpr int kProducers = 8;
  constexpr int kPerProducer = 5000;
  Channel<Message> channel;
  std::atomic<bool> go{false};
  std::vector<std::thread> producers;
  for (int p = 0; p < kProducers; ++p) {
    producers.emplace_back([p, sender = channel.sender, &go] {
      while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
      for (int i = 0; i < kPerProducer; ++i) sender.send(Message{p, i});
    });
  }
  go.store(true, std::memory_order_release);

  std::vector<int> next(kProducers, 0);
  int received = 0;
  while (received < kProducers * kPerProducer) {
    const std::optional<Message> message = channel.receiver.try_receive();
    if (!message) {
      std::this_thread::yield();
      continue;
    }
    ASSERT_GE(message->producer, 0);
    ASSERT_LT(message->producer, kProducers);
    ASSERT_EQ(message->sequence, next[static_cast<std::size_t>(message->producer)]) << "producer " << message->producer;
    ++next[static_cast<std::size_t>(message->producer)];
    ++received;
  }
  for (std::thread& producer : producers) producer.join();
  EXPECT_EQ(channel.receiver.try_receive(), std::nullopt);
  for (int p = 0; p < kProducers; ++p) EXPECT_EQ(next[static_cast<std::size_t>(p)], kPerProducer);
}

TEST(WeatherChannel, NothingArrivesOrLeaksOnceTheReceiverIsGone) {
  g_alive = 0;
  {
    Sender<Tracked> sender;
    {
      Channel<Tracked> channel;
      sender = channel.sender;
      EXPECT_TRUE(sender.send(Tracked(1)));
      EXPECT_TRUE(sender.send(Tracked(2)));
      EXPECT_EQ(g_alive.load(), 2);
    }  // receiver dropped with two messages queued: both freed
    EXPECT_EQ(g_alive.load(), 0);
    EXPECT_FALSE(sender.send(Tracked(3)));  // dropped at once
    EXPECT_EQ(g_alive.load(), 0);
  }
  EXPECT_EQ(g_alive.load(), 0);
}

TEST(WeatherChannel, SendersRacingTheReceiversEndFreeEverything) {
  constexpr int kProducers = 6;
  constexpr int kPerProducer = 3000;
  g_alive = 0;
  std::atomic<int> refused{0};
  std::atomic<int> accepted{0};
  std::vector<std::thread> producers;
  int received = 0;
  std::atomic<bool> go{false};
  {
    auto channel = std::make_unique<Channel<Tracked>>();
    for (int p = 0; p < kProducers; ++p) {
      producers.emplace_back([sender = channel->sender, &go, &refused, &accepted] {
        while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
        for (int i = 0; i < kPerProducer; ++i) {
          if (sender.send(Tracked(i))) {
            accepted.fetch_add(1, std::memory_order_relaxed);
          } else {
            refused.fetch_add(1, std::memory_order_relaxed);
          }
        }
      });
    }
    go.store(true, std::memory_order_release);
    while (received < 1000) {
      if (channel->receiver.try_receive()) ++received;
    }
    channel.reset();  // the main thread stops listening while the senders are busy
  }
  for (std::thread& producer : producers) producer.join();
  EXPECT_EQ(accepted.load() + refused.load(), kProducers * kPerProducer);
  EXPECT_GE(accepted.load(), received);
  EXPECT_EQ(g_alive.load(), 0) << "every message sent or refused has been freed";
}

TEST(WeatherChannel, AMovedReceiverKeepsWhatWasWaiting) {
  Channel<int> channel;
  channel.sender.send(1);
  channel.sender.send(2);
  EXPECT_EQ(channel.receiver.try_receive(), std::optional<int>(1));
  Receiver<int> moved = std::move(channel.receiver);
  EXPECT_EQ(moved.try_receive(), std::optional<int>(2));
  channel.sender.send(3);
  EXPECT_EQ(moved.try_receive(), std::optional<int>(3));
}

TEST(WeatherChannel, UnconnectedEndsDoNothing) {
  Sender<int> sender;
  EXPECT_FALSE(sender.send(1));
  Receiver<int> receiver;
  EXPECT_EQ(receiver.try_receive(), std::nullopt);
}

}  // namespace
}  // namespace vessa

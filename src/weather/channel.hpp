#pragma once
// An unbounded multi-producer, single-consumer channel without locks.
//
// Senders push nodes onto a lock-free stack with compare-and-swap; the receiver takes the
// whole stack with one exchange and reverses it into arrival order. Sending never blocks and
// never waits for the receiver. Both ends share the queue through reference counting: the
// queue lives until the last end is gone, so a sender that outlives the receiver still
// sends safely; its messages are dropped and freed, never delivered and never touched after
// they are freed.
//
// Sender: copyable, each copy usable from its own thread. Receiver: move-only, used by one
// thread at a time.

#include <atomic>
#include <memory>
#include <optional>
#include <utility>

namespace vessa {

namespace channel_detail {

template <typename T>
struct Node {
  T value;
  Node* next = nullptr;
};

template <typename T>
void free_nodes(Node<T>* node) noexcept {
  while (node != nullptr) delete std::exchange(node, node->next);
}

template <typename T>
class Queue {
 public:
  Queue() = default;
  Queue(const Queue&) = delete;
  Queue& operator=(const Queue&) = delete;
  // The last end has gone: whatever is still queued is freed here.
  ~Queue() { free_nodes(head_.load(std::memory_order_acquire)); }

  void push(Node<T>* node) noexcept {
    node->next = head_.load(std::memory_order_relaxed);
    // Publishes the node's value to whoever takes the stack (release); on failure `next` holds
    // the current head and the loop tries again.
    while (!head_.compare_exchange_weak(node->next, node, std::memory_order_release, std::memory_order_relaxed)) {
    }
  }
  // Everything pushed so far, newest first.
  [[nodiscard]] Node<T>* take_all() noexcept { return head_.exchange(nullptr, std::memory_order_acquire); }

  void close() noexcept { receiver_gone_.store(true, std::memory_order_release); }
  [[nodiscard]] bool closed() const noexcept { return receiver_gone_.load(std::memory_order_acquire); }

 private:
  std::atomic<Node<T>*> head_{nullptr};
  std::atomic<bool> receiver_gone_{false};
};

}  // namespace channel_detail

template <typename T>
class Sender {
 public:
  Sender() = default;  // sends nothing anywhere

  // Queues `value` for the receiver; false when the receiver is gone (the value is dropped).
  // Never blocks. May throw std::bad_alloc.
  bool send(T value) const {
    if (!queue_ || queue_->closed()) return false;
    queue_->push(new channel_detail::Node<T>{std::move(value)});
    return true;
  }

 private:
  template <typename U>
  friend struct Channel;
  explicit Sender(std::shared_ptr<channel_detail::Queue<T>> queue) noexcept : queue_(std::move(queue)) {}

  std::shared_ptr<channel_detail::Queue<T>> queue_;
};

template <typename T>
class Receiver {
 public:
  Receiver() = default;  // receives nothing
  Receiver(const Receiver&) = delete;
  Receiver& operator=(const Receiver&) = delete;
  Receiver(Receiver&& other) noexcept
      : queue_(std::move(other.queue_)), pending_(std::exchange(other.pending_, nullptr)) {}
  Receiver& operator=(Receiver&& other) noexcept {
    if (this != &other) {
      close();
      queue_ = std::move(other.queue_);
      pending_ = std::exchange(other.pending_, nullptr);
    }
    return *this;
  }
  // Senders still running from now on see the channel closed; everything queued is freed.
  ~Receiver() { close(); }

  // The oldest message not yet received, or none when the queue is empty. Never blocks.
  // Messages of one sender arrive in the order it sent them.
  [[nodiscard]] std::optional<T> try_receive() {
    if (pending_ == nullptr && queue_) pending_ = reversed(queue_->take_all());
    if (pending_ == nullptr) return std::nullopt;
    std::unique_ptr<channel_detail::Node<T>> node(std::exchange(pending_, pending_->next));
    return std::optional<T>(std::move(node->value));
  }

 private:
  template <typename U>
  friend struct Channel;
  explicit Receiver(std::shared_ptr<channel_detail::Queue<T>> queue) noexcept : queue_(std::move(queue)) {}

  static channel_detail::Node<T>* reversed(channel_detail::Node<T>* node) noexcept {
    channel_detail::Node<T>* result = nullptr;
    while (node != nullptr) {
      channel_detail::Node<T>* next = node->next;
      node->next = result;
      result = node;
      node = next;
    }
    return result;
  }

  void close() noexcept {
    channel_detail::free_nodes(std::exchange(pending_, nullptr));
    if (!queue_) return;
    queue_->close();
    // A sender that checked before the close may still push; the queue frees that node when
    // its last end goes.
    channel_detail::free_nodes(queue_->take_all());
    queue_.reset();
  }

  std::shared_ptr<channel_detail::Queue<T>> queue_;
  channel_detail::Node<T>* pending_ = nullptr;  // taken from the queue, oldest first
};

// The two ends of one new, empty channel.
template <typename T>
struct Channel {
  Sender<T> sender;
  Receiver<T> receiver;

  Channel() {
    auto queue = std::make_shared<channel_detail::Queue<T>>();
    sender = Sender<T>(queue);
    receiver = Receiver<T>(std::move(queue));
  }
};

}  // namespace vessa

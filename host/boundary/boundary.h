// The two gates of the boundary between this module and the one across it (the player, or
// for the simulated player, the component). C++ exceptions cannot unwind across: each side's
// runtime reads only its own module's unwind tables. The platform's C++ ABI carries them
// instead, as structured exceptions (code 0xE06D7363) whose throw information names the
// thrown class and its bases by their decorated names.
// - boundary::serve(body) runs the body of an operation that the other side called: an
//   exception leaving the body goes across as the platform's C++ exception of the same
//   class family and message.
// - boundary::call(call) makes one call into the other side: a platform C++ exception raised
//   inside is taken over where the call was made and continues here as a C++ exception of
//   this module's own family classes, carrying the other side's original object, which goes
//   back unchanged if the failure leaves through a served operation.
// Natively there is no other side: both gates just run what they are given. The features never
// use the gates themselves: they reach the player through the player layer
// (host/player/player.h), which makes every call through them.
#pragma once

#include <type_traits>

namespace boundary {

#ifdef _WIN32
// Runs `call(context)` inside a frame that takes over the other side's C++ exceptions; throws
// the taken-over exception after the frame is gone.
void call_guarded(void (*call)(void* context), void* context);

// Runs `work(context)` as serve runs a body: every failure leaves as a structured exception.
// The frame it runs in tells, when a handler on the other side abandons the operation's
// frames (its __except handling a fault inside them), so that the references that their
// owning handles held go back while the frames are still intact.
void serve_work(void (*work)(void* context), void* context) noexcept;

// Runs `callable` through `gate`, which takes its work as a function of context, and answers
// what the callable answered.
template <class Callable>
auto RunThrough(void (*gate)(void (*work)(void* context), void* context), Callable& callable) -> decltype(callable()) {
  using Result = decltype(callable());
  if constexpr (std::is_void_v<Result>) {
    gate([](void* context) { (*static_cast<Callable*>(context))(); }, &callable);
  } else {
    Result result{};
    auto store = [&] { result = callable(); };
    gate([](void* context) { (*static_cast<decltype(store)*>(context))(); }, &store);
    return result;
  }
}
#endif

template <class Call>
auto call(Call&& call) -> decltype(call()) {
  static_assert(!std::is_reference_v<decltype(call())>, "calls across the boundary answer values");
#ifdef _WIN32
  return RunThrough(&call_guarded, call);
#else
  return call();
#endif
}

template <class Body>
auto serve(Body&& body) -> decltype(body()) {
#ifdef _WIN32
  return RunThrough(&serve_work, body);
#else
  return body();
#endif
}

}  // namespace boundary

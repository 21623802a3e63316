// The one place where a fault that reaches a screen becomes a message box.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "ui/framework/Prompts.h"

class QWidget;

namespace rh::ui {

// How a fault is answered: a message box titled `title` whose text is `lead` (when given), then
// the fault's own words, then `offer` (when given) as a Yes/No question.
struct FaultAnswer {
  std::string title;
  std::string lead;
  std::string offer;
};

enum class Outcome {
  Done,           // the action finished
  Faulted,        // a fault was reported
  OfferAccepted,  // a fault was reported and the user took the offer
};

// The text of the message box for `fault` answered by `answer`.
std::string FaultText(const FaultAnswer& answer, const std::exception& fault);

// Runs `action`; a fault (any exception) stops it and is answered as `answerFor` says, except that
// refused input is answered by the program's warning with the refusal's own title and text.
Outcome RunAtBoundary(Prompts& prompts, QWidget* parent,
                      const std::function<FaultAnswer(const std::exception&)>& answerFor,
                      const std::function<void()>& action);

// The same with one answer for every fault.
Outcome RunAtBoundary(Prompts& prompts, QWidget* parent, const FaultAnswer& answer,
                      const std::function<void()>& action);

}  // namespace rh::ui

#include "ui/FaultBoundary.h"

#include "core/Faults.h"

namespace rh::ui {

std::string FaultText(const FaultAnswer& answer, const std::exception& fault) {
  std::string text;
  if (!answer.lead.empty())
    text.append(answer.lead).append("\n\n");
  text.append(fault.what());
  if (!answer.offer.empty())
    text.append("\n\n").append(answer.offer);
  return text;
}

Outcome RunAtBoundary(Prompts& prompts, QWidget* parent,
                      const std::function<FaultAnswer(const std::exception&)>& answerFor,
                      const std::function<void()>& action) {
  try {
    action();
    return Outcome::Done;
  } catch (const std::exception& fault) {
    // Input the program refuses is answered by its own warning, whatever the action.
    if (KindOf(fault) == FaultKind::Refused) {
      const FaultReport refusal = ReportFault(fault);
      prompts.Warning(parent, refusal.Title, refusal.Text);
      return Outcome::Faulted;
    }
    const FaultAnswer answer = answerFor(fault);
    const std::string text = FaultText(answer, fault);
    if (answer.offer.empty()) {
      prompts.Warning(parent, answer.title, text);
      return Outcome::Faulted;
    }
    return prompts.Question(parent, answer.title, text) ? Outcome::OfferAccepted : Outcome::Faulted;
  }
}

Outcome RunAtBoundary(Prompts& prompts, QWidget* parent, const FaultAnswer& answer,
                      const std::function<void()>& action) {
  return RunAtBoundary(
      prompts, parent, [&answer](const std::exception&) { return answer; }, action);
}

}  // namespace rh::ui

// generated_concurrency_test.cpp: several threads write and read different objects of the
// same generated classes at once, so that everything they share (the static record tables,
// built on first use, and the process-wide settings) is only ever read. Run it under
// ThreadSanitizer (preset tsan) to have the sharing checked, not just the results.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "po/po_binding.h"
#include "support/engine_bindings.h"
#include "support/po_order.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;

namespace {

const int kThreads = 4;
const int kRounds = 20;

// Runs `work(thread, round)` on kThreads threads released together; returns the failures.
template <class Work>
std::vector<std::string> RunTogether(Work work) {
    std::atomic<int> ready{0};
    std::vector<std::string> failures(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ready.fetch_add(1);
            while (ready.load() < kThreads) std::this_thread::yield();
            try {
                for (int round = 0; round < kRounds && failures[t].empty(); ++round)
                    work(t, round, failures[t]);
            } catch (const CTsException& e) {
                failures[t] = e.GetFullMessage();
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    return failures;
}

}  // namespace

TEST(GeneratedClassConcurrency, ThreadsWriteAndReadOrdersOfTheSameClasses) {
    const std::vector<std::string> failures = RunTogether([](int t, int round, std::string& fail) {
        const int seed = t * 100 + round;
        CSerializationContext context;  // one per thread: a context is not shared
        // Orders of different lengths and ids, so a thread reading another's text would notice.
        CSmartPtr<Po::CPurchaseOrder> order = test::MakeOrder(1 + seed % 7);
        order->SetId(1000 + seed);
        const std::string text = order->ToXml(true, t % 2 == 0, EOLType_LF, context);
        CSmartPtr<Po::CPurchaseOrder> copy(new Po::CPurchaseOrder);
        copy->FromXml(text.c_str(), context);
        if (copy->GetId() != 1000 + seed || copy->GetLine()->GetCount() != 1 + seed % 7) {
            fail = "order " + std::to_string(seed) + " read back wrong";
        } else if (copy->ToXml(true, t % 2 == 0, EOLType_LF, context) != text) {
            fail = "order " + std::to_string(seed) + " written back differently";
        }
    });
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], "") << "thread " << t;
}

TEST(GeneratedClassConcurrency, ThreadsShareTheTablesOfAllGroupsChoicesAndSubstitution) {
    using namespace EngineTest;
    const std::vector<std::string> failures = RunTogether([](int t, int round, std::string& fail) {
        CSerializationContext context;
        const int value = t * 1000 + round;
        CSmartPtr<CAllGroup> group(new CAllGroup);
        group->FromXml(("<allGroup xmlns=\"urn:t\"><z><name>n</name></z><x>" +
                        std::to_string(value) + "</x></allGroup>")
                           .c_str(),
                       context);
        CSmartPtr<CDrawing> drawing(new CDrawing);
        drawing->FromXml(
            "<drawing xmlns=\"urn:t\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
            "<shape xsi:type=\"Square\"><side>2</side></shape></drawing>",
            context);
        CSmartPtr<ChoiceGroup> pick(new ChoiceGroup);
        pick->Member(ChoiceGroup::C).SetI4(t % 3);
        const std::string text = pick->ToXml(false, false, EOLType_LF, context);
        if (group->GetX() != value)
            fail = "all group read wrong";
        else if (!dynamic_cast<CSquare*>(drawing->GetShape()))
            fail = "substitution picked the wrong class";
        else if (text.find(ColorToString(t % 3)) == std::string::npos)
            fail = "choice written wrong: " + text;
    });
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], "") << "thread " << t;
}

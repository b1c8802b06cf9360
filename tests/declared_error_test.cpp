// A plugin's own errors: declared with their text, raised with text and number arguments,
// and C++ exceptions translated into them, most derived type first, from typed members
// and raw hooks alike.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "convenience/convenience.hpp"
#include "convenience/typed/typed.hpp"
#include "convenience/values.hpp"
#include "orrery_testkit/testkit.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

using namespace orrery;
using namespace orrery::convenience;
using namespace orrery::convenience::typed;
using namespace orrery::convenience::values;
namespace kit = orrery::testkit;

namespace {

struct BankError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
struct Overdrawn : BankError {
    Overdrawn(double wanted, double left) : BankError("overdrawn"), amount(wanted), balance(left) {}
    double amount, balance;
};
struct Frozen : BankError {
    Frozen() : BankError("frozen") {}
};

struct Account {
    double balance = 10;
    void withdraw(double amount) {
        if (amount < 0) throw std::invalid_argument("negative amount");
        if (amount > 100) throw Frozen();
        if (amount > balance) throw Overdrawn(amount, balance);
        balance -= amount;
    }
};

const DeclaredError overdraft("bank:Overdraft", "Cannot withdraw {0}: the balance is only {1}.");
const DeclaredError failure("bank:Failure", "The bank failed: {0} ({1} attempts).");

class DeclaredErrors : public orrery::testing::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        clearExceptionTranslators();
        defineClass<Account>("bank.Account")
            .constructor<>()
            .method("withdraw", &Account::withdraw, {"amount"})
            .publish();
    }
    void TearDown() override {
        clearExceptionTranslators();
        HostTest::TearDown();
    }
};

TEST_F(DeclaredErrors, ADeclaredErrorRaisesItsIdWithTextAndNumberArguments) {
    EXPECT_HOST_ERROR(overdraft.raise(12.5, 3), "bank:Overdraft", "Cannot withdraw 12.5: the balance is only 3.");
    EXPECT_HOST_ERROR(failure.raise(std::u16string(u"caf\u00e9"), 2), "bank:Failure",
                      "The bank failed: caf\u00e9 (2 attempts).");
    EXPECT_THROW(failure.raise("text", 1.0), PluginError);
    try {
        overdraft.raise(1, 2);
    } catch (const PluginError& error) {
        EXPECT_EQ(error.message().component, "bank");
        EXPECT_EQ(error.message().id, "Overdraft");
        ASSERT_EQ(error.message().arguments.size(), 2u);
        EXPECT_EQ(std::get<std::int64_t>(error.message().arguments[0]), 1);
    }
    // Components may hold colons; the id is what follows the last.
    const DeclaredError nested("bank:accounts:Closed", "Account {0} is closed.");
    EXPECT_HOST_ERROR(nested.raise("A-1"), "bank:accounts:Closed", "Account A-1 is closed.");
    EXPECT_THROW_MESSAGE(DeclaredError("Overdraft", "x"), std::invalid_argument,
                         "error id \"Overdraft\" must be \"component:id\"");
    EXPECT_THROW_MESSAGE(DeclaredError("bank:", "x"), std::invalid_argument,
                         "error id \"bank:\" must be \"component:id\"");
}

TEST_F(DeclaredErrors, TranslatorsTurnCppExceptionsIntoHostErrorsMostDerivedFirst) {
    kit::Object account = kit::construct("bank.Account");
    // The base first: registration order does not decide, the exception's type does.
    translateException<BankError>([](const BankError& error) { failure.raise(error.what(), 1); });
    translateException<Overdrawn>([](const Overdrawn& error) { overdraft.raise(error.amount, error.balance); });

    EXPECT_HOST_ERROR(account.call("withdraw", 12.5), "bank:Overdraft",
                      "Cannot withdraw 12.5: the balance is only 10.");
    EXPECT_HOST_ERROR(account.call("withdraw", 500.0), "bank:Failure", "The bank failed: frozen (1 attempts).");
    // No translator for it: today's CppException.
    EXPECT_HOST_ERROR(account.call("withdraw", -1.0), "LUMEN:orrery_typed:CppException",
                      "bank.Account.withdraw failed: negative amount");
    account.call("withdraw", 4.0);
    EXPECT_EQ(account.as<Account>().balance, 6.0);
}

TEST_F(DeclaredErrors, ATranslatorCanBeReplacedOrDeclineAndHostErrorsPassUnchanged) {
    kit::Object account = kit::construct("bank.Account");
    translateException<Overdrawn>([](const Overdrawn&) { failure.raise("first", 0); });
    translateException<Overdrawn>([](const Overdrawn& error) { overdraft.raise(error.amount, error.balance); });
    // Returning declines: the next matching translator (the base's) or CppException follows.
    translateException<BankError>([](const BankError&) {});
    EXPECT_HOST_ERROR(account.call("withdraw", 20.0), "bank:Overdraft", "Cannot withdraw 20: the balance is only 10.");
    EXPECT_HOST_ERROR(account.call("withdraw", 500.0), "LUMEN:orrery_typed:CppException",
                      "bank.Account.withdraw failed: frozen");
    // A translator never sees host errors.
    translateException<std::exception>([](const std::exception&) { failure.raise("caught", 0); });
    EXPECT_HOST_ERROR(account.call("withdraw", 1.0, 2.0), "LUMEN:orrery_typed:WrongInputCount",
                      "bank.Account.withdraw takes 2 inputs (self, amount), but was given 3.");
}

TEST_F(DeclaredErrors, RawHooksTranslateThroughTheSameTranslators) {
    translateException<Overdrawn>([](const Overdrawn& error) { overdraft.raise(error.amount, error.balance); });
    auto cls = createClass("bank.Ledger");
    auto post = createMethod("post");
    post->attribute3 = true;  // static: no object needed
    post->invokeFcn = [](const COSClient*, int& outputs, COSValue*, int, const COSValue* inputs) {
        const double amount = readDouble(inputs[0]).value_or(0);
        try {
            if (amount > 1) throw Overdrawn(amount, 1);
            if (amount < 0) throw 42;
        } catch (...) {
            raiseCurrentException("bank.Ledger.post");
        }
        translatingExceptions("bank.Ledger.post", [] { throw std::out_of_range("no such ledger"); });
        outputs = 0;
    };
    cls->addMethod(post);
    cls->publish();

    EXPECT_HOST_ERROR(kit::invokeStatic("bank.Ledger", "post", 5.0), "bank:Overdraft",
                      "Cannot withdraw 5: the balance is only 1.");
    EXPECT_HOST_ERROR(kit::invokeStatic("bank.Ledger", "post", -1.0), "LUMEN:orrery_typed:CppException",
                      "bank.Ledger.post failed: an exception that is not a std::exception");
    EXPECT_HOST_ERROR(kit::invokeStatic("bank.Ledger", "post", 0.5), "LUMEN:orrery_typed:CppException",
                      "bank.Ledger.post failed: no such ledger");
}

}  // namespace

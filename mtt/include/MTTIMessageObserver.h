#ifndef MTTIMESSAGEOBSERVER_H
#define MTTIMESSAGEOBSERVER_H

#include "MTTExport.h"

class MTTNode;

// Hears every message the library prints on the thread it is set for,
// right after the message is printed, so that a host can tell which node
// reported it (and, say, point at the template line behind it). Printing
// itself is unchanged unless the host turns it off for the thread
// (MTTSetMessagePrinting): with no observer set, nothing else happens.
class MTT_EXPORT MTTIMessageObserver {
public:
    MTTIMessageObserver();
    MTTIMessageObserver(const MTTIMessageObserver& iOther);
    MTTIMessageObserver& operator=(const MTTIMessageObserver& iOther);
    virtual ~MTTIMessageObserver();

    // iText is the message exactly as printed, on standard error when
    // iToStandardError, else on standard output. iReporter is the node
    // whose operation printed it: for the environment's messages, the
    // statement that was using the environment; null for assertion reports
    // and where no node is involved. iSubject is the node the message is
    // about: the failing statement for "StatList failed ... for child %d",
    // otherwise iReporter.
    virtual void OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool iToStandardError,
                           const char* iText) = 0;

    // For a host's model object that cannot give what it is asked for (a
    // value it cannot compute): prints iText on standard output as the
    // library prints its messages, and tells the thread's observer, naming
    // as reporter and subject the property expression whose walk or value
    // asked (null outside one). The library itself never calls it.
    static void ReportFromModel(const char* iText);
};

// Sets the calling thread's observer (null: none, the default) and returns
// the one it replaces. The observer is borrowed and must stay alive while
// it is set.
MTT_EXPORT MTTIMessageObserver* MTTSetMessageObserver(MTTIMessageObserver* iObserver);

// Whether the calling thread's messages are printed while an observer is
// set for it: true (the default) prints them as always; false leaves them to
// the observer alone, which still hears them with the stream they would have
// gone to, so that a host embedding the library keeps them out of its own
// output. With no observer set, messages are printed whatever this says.
// Returns the setting it replaces.
MTT_EXPORT bool MTTSetMessagePrinting(bool iPrint);

// Whether iText, a message as the library words it, only repeats for an
// enclosing statement that a statement inside it failed: the line a list,
// an if, a foreach, a function call or a function declaration adds after
// the failure below it ("ERROR: StatList failed evaluation for child 4.").
// A host showing one line per failure leaves these out, or shows them as
// context.
MTT_EXPORT bool MTTIsFollowOnMessage(const char* iText);

#endif

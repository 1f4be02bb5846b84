#ifndef MTTSTATEMENTRUN_H
#define MTTSTATEMENTRUN_H

// A statement writes its evaluation once, as a template Run over where the
// output goes: MTTOutputBuilder (the output tree) or a text writer (the
// text alone, MTTTextWriter, or with the tree's shape told to a listener,
// MTTHeardTextWriter). These two macros give it the entry points over
// that Run.

class MTTEvaluationEnvironment;
class MTTEvaluationOutput;
template <bool kHeard>
class MTTTextWriterOf;
typedef MTTTextWriterOf<false> MTTTextWriter;
typedef MTTTextWriterOf<true> MTTHeardTextWriter;

// In the class: Evaluate, WriteText (Evaluate's text alone, for
// MTTEvaluateText; false where Evaluate fails) and Run.
#define MTT_EVALUATED_BY_RUN                                                              \
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;       \
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);      \
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTHeardTextWriter& ioWriter); \
    template <class Out>                                                                  \
    typename Out::Result Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)

// In the class's source, after Run (which needs MTTOutputBuilder.h and
// MTTTextWriter.h): the two entry points.
#define MTT_EVALUATE_BY_RUN(Class)                                                              \
    MTTEvaluationOutput* Class::Evaluate(MTTEvaluationEnvironment* iEnvironment)                \
    {                                                                                           \
        MTTOutputBuilder builder;                                                               \
        return Run(iEnvironment, builder);                                                      \
    }                                                                                           \
    bool Class::WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter)      \
    {                                                                                           \
        return Run(iEnvironment, ioWriter);                                                     \
    }                                                                                           \
    bool Class::WriteText(MTTEvaluationEnvironment* iEnvironment, MTTHeardTextWriter& ioWriter) \
    {                                                                                           \
        return Run(iEnvironment, ioWriter);                                                     \
    }

#endif

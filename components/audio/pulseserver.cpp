// The sound server side of the PulseAudio output: the loop's thread, the connection and its
// loss, waiting for the server's answers, and the count of its devices (see pulseoutput.h).
#include "components/audio/pulseoutput.h"

namespace quillet::audio {

namespace {

struct Alarm {
    const PulseCalls& pa;
    pa_threaded_mainloop* loop;
    bool fired = false;
};

void Ring(pa_mainloop_api*, pa_time_event*, const timeval*, void* alarm)
{
    auto* a = static_cast<Alarm*>(alarm);
    a->fired = true;
    a->pa.pa_threaded_mainloop_signal(a->loop, 0);
}

} // namespace

PulseOutput::~PulseOutput()
{
    if (!m_loop)
        return;
    {
        Lock lock(*this);
        CloseStream();
        DropContext();
    }
    m_pa->pa_threaded_mainloop_stop(m_loop);
    m_pa->pa_threaded_mainloop_free(m_loop);
}

bool PulseOutput::StartLoop()
{
    if (m_loop)
        return true;
    if (!m_pa && !(m_pa = LoadPulseCalls()))
        return false;
    m_loop = m_pa->pa_threaded_mainloop_new();
    if (m_loop && m_pa->pa_threaded_mainloop_start(m_loop) >= 0)
        return true;
    if (m_loop)
        m_pa->pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
    return false;
}

timeval PulseOutput::After(pa_usec_t usec) const
{
    timeval tv;
    m_pa->pa_gettimeofday(&tv);
    m_pa->pa_timeval_add(&tv, usec);
    return tv;
}

bool PulseOutput::WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    Alarm alarm{*m_pa, m_loop};
    pa_mainloop_api* api = m_pa->pa_threaded_mainloop_get_api(m_loop);
    const timeval at = After(pa_usec_t(limit.count()) * 1000);
    pa_time_event* event = api->time_new(api, &at, Ring, &alarm);
    while (!done() && !alarm.fired)
        m_pa->pa_threaded_mainloop_wait(m_loop);
    api->time_free(event);
    return done();
}

bool PulseOutput::Connect()
{
    if (m_context && !PA_CONTEXT_IS_GOOD(m_pa->pa_context_get_state(m_context)))
        DropContext(); // the server went away since: start afresh
    if (ServerFrozen())
        return false;
    if (!m_context) {
        m_context =
            m_pa->pa_context_new(m_pa->pa_threaded_mainloop_get_api(m_loop), "Quillet Jukebox");
        if (!m_context)
            return false;
        m_pa->pa_context_set_state_callback(m_context, ContextState, this);
        // Never start a server of our own: "no server" is an answer the program shows.
        if (m_pa->pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            DropContext();
            return false;
        }
    }
    const bool settled = WaitFor(
        [this] {
            const pa_context_state_t state = m_pa->pa_context_get_state(m_context);
            return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
        },
        ServerWait);
    if (settled && m_pa->pa_context_get_state(m_context) == PA_CONTEXT_READY)
        return true;
    // A server that took the connection but does not answer it (stopped, hung) keeps it: the
    // next call sees it still pending and answers at once; it completes if the server wakes.
    if (!settled)
        return false;
    DropContext();
    return false;
}

bool PulseOutput::ServerFrozen()
{
    if (m_context) {
        const pa_context_state_t state = m_pa->pa_context_get_state(m_context);
        if (PA_CONTEXT_IS_GOOD(state) && state != PA_CONTEXT_READY)
            return true; // a connection an earlier call gave up waiting for
    }
    if (!m_unanswered)
        return false;
    if (m_pa->pa_operation_get_state(m_unanswered) == PA_OPERATION_RUNNING)
        return true;
    m_pa->pa_operation_unref(m_unanswered); // answered since: the server is back
    m_unanswered = nullptr;
    return false;
}

void PulseOutput::NoteServerFrozen()
{
    if (m_unanswered || !m_context)
        return;
    // A request whose answer (whenever it comes) tells that the server listens again.
    m_unanswered = m_pa->pa_context_get_sink_info_list(
        m_context, [](pa_context*, const pa_sink_info*, int, void*) {}, nullptr);
}

void PulseOutput::DropContext()
{
    CloseStream();
    if (m_unanswered) {
        m_pa->pa_operation_cancel(m_unanswered);
        m_pa->pa_operation_unref(m_unanswered);
        m_unanswered = nullptr;
    }
    if (!m_context)
        return;
    m_pa->pa_context_set_state_callback(m_context, nullptr, nullptr);
    m_pa->pa_context_disconnect(m_context);
    m_pa->pa_context_unref(m_context);
    m_context = nullptr;
}

int PulseOutput::DeviceCount()
{
    if (!StartLoop())
        return 0;
    struct Count {
        const PulseCalls& pa;
        pa_threaded_mainloop* loop;
        int sinks = 0;
        bool done = false;
    } count{*m_pa, m_loop};
    Lock lock(*this);
    if (!Connect())
        return 0;
    auto sink = [](pa_context*, const pa_sink_info* info, int eol, void* data) {
        auto* c = static_cast<Count*>(data);
        if (eol)
            c->done = true;
        else if (info)
            ++c->sinks;
        c->pa.pa_threaded_mainloop_signal(c->loop, 0);
    };
    pa_operation* op = m_pa->pa_context_get_sink_info_list(m_context, sink, &count);
    if (!op)
        return 0;
    if (!WaitFor(
            [&] { return count.done || m_pa->pa_operation_get_state(op) != PA_OPERATION_RUNNING; },
            ServerWait)) {
        m_pa->pa_operation_cancel(op);
        NoteServerFrozen();
    }
    m_pa->pa_operation_unref(op);
    return count.done ? count.sinks : 0;
}

void PulseOutput::ContextState(pa_context* context, void* self)
{
    auto* out = static_cast<PulseOutput*>(self);
    out->m_pa->pa_threaded_mainloop_signal(out->m_loop, 0);
    if (!PA_CONTEXT_IS_GOOD(out->m_pa->pa_context_get_state(context)))
        out->ReportLost();
}

} // namespace quillet::audio

/* alsa_seq_stand_in.c — an ALSA sequencer for Qtractor where the kernel has
 * none (no /dev/snd/seq: a machine without sound support, where
 * snd-seq-dummy cannot be loaded). Qtractor refuses to start its audio engine
 * without a sequencer; loaded with LD_PRELOAD, this answers every call on a
 * sequencer handle as a sequencer with no other clients would: ports and a
 * queue are made, events sent go nowhere, none ever arrive. The records the
 * calls fill are ALSA's own, filled through its setters.
 *
 * Built by run_session.sh: cc -shared -fPIC -o alsa_seq_stand_in.so alsa_seq_stand_in.c
 * (no ALSA headers needed: the records are opaque here).
 */
#include <errno.h>
#include <poll.h>
#include <stddef.h>
#include <string.h>
#include <unistd.h>

#define EXPORT __attribute__((visibility("default")))

/* ALSA's setters and sizes, from libasound in the process. */
void snd_seq_client_info_set_client(void *info, int client);
void snd_seq_client_info_set_name(void *info, const char *name);
void snd_seq_port_info_set_client(void *info, int client);
void snd_seq_port_info_set_port(void *info, int port);
void snd_seq_port_info_set_name(void *info, const char *name);
size_t snd_seq_queue_status_sizeof(void);
size_t snd_seq_queue_tempo_sizeof(void);
void snd_seq_queue_tempo_set_tempo(void *tempo, unsigned int value);
void snd_seq_queue_tempo_set_ppq(void *tempo, int ppq);
void snd_seq_queue_tempo_set_skew(void *tempo, unsigned int skew);
void snd_seq_queue_tempo_set_skew_base(void *tempo, unsigned int base);

enum { kClient = 128 };

static struct {
    char name[64];
    int ports;
    int silent[2]; /* a pipe nobody writes to: the descriptor polled for input */
} sequencer = {"", 0, {-1, -1}};

EXPORT int snd_seq_open(void **handle, const char *name, int streams, int mode) {
    (void)name, (void)streams, (void)mode;
    if (sequencer.silent[0] < 0 && pipe(sequencer.silent) != 0) return -errno;
    *handle = &sequencer;
    return 0;
}

EXPORT int snd_seq_close(void *seq) { return seq == &sequencer ? 0 : -EINVAL; }

EXPORT int snd_seq_set_client_name(void *seq, const char *name) {
    (void)seq;
    strncpy(sequencer.name, name, sizeof sequencer.name - 1);
    return 0;
}

EXPORT int snd_seq_client_id(void *seq) { return (void)seq, kClient; }
EXPORT int snd_seq_create_simple_port(void *seq, const char *name, unsigned int caps, unsigned int type) {
    (void)seq, (void)name, (void)caps, (void)type;
    return sequencer.ports++;
}
EXPORT int snd_seq_delete_simple_port(void *seq, int port) { return (void)seq, (void)port, 0; }
EXPORT int snd_seq_alloc_queue(void *seq) { return (void)seq, 0; }
EXPORT int snd_seq_free_queue(void *seq, int queue) { return (void)seq, (void)queue, 0; }
EXPORT int snd_seq_control_queue(void *seq, int queue, int type, int value, void *event) {
    return (void)seq, (void)queue, (void)type, (void)value, (void)event, 0;
}
EXPORT int snd_seq_set_queue_timer(void *seq, int queue, void *timer) { return (void)seq, (void)queue, (void)timer, 0; }
EXPORT int snd_seq_set_queue_tempo(void *seq, int queue, void *tempo) { return (void)seq, (void)queue, (void)tempo, 0; }

EXPORT int snd_seq_get_queue_tempo(void *seq, int queue, void *tempo) {
    (void)seq, (void)queue;
    memset(tempo, 0, snd_seq_queue_tempo_sizeof());
    snd_seq_queue_tempo_set_tempo(tempo, 500000); /* 120 beats a minute */
    snd_seq_queue_tempo_set_ppq(tempo, 96);
    snd_seq_queue_tempo_set_skew(tempo, 0x10000); /* no skew: 1/1 */
    snd_seq_queue_tempo_set_skew_base(tempo, 0x10000);
    return 0;
}

EXPORT int snd_seq_get_queue_status(void *seq, int queue, void *status) {
    (void)seq, (void)queue;
    memset(status, 0, snd_seq_queue_status_sizeof());
    return 0;
}

EXPORT int snd_seq_drain_output(void *seq) { return (void)seq, 0; }
EXPORT int snd_seq_drop_input(void *seq) { return (void)seq, 0; }
EXPORT int snd_seq_drop_output(void *seq) { return (void)seq, 0; }
EXPORT int snd_seq_event_output(void *seq, void *event) { return (void)seq, (void)event, 0; }
EXPORT int snd_seq_event_output_direct(void *seq, void *event) { return (void)seq, (void)event, 0; }
EXPORT int snd_seq_event_input(void *seq, void **event) { return (void)seq, *event = NULL, -EAGAIN; }
EXPORT int snd_seq_event_input_pending(void *seq, int fetch) { return (void)seq, (void)fetch, 0; }
EXPORT int snd_seq_remove_events(void *seq, void *what) { return (void)seq, (void)what, 0; }

EXPORT int snd_seq_poll_descriptors_count(void *seq, short events) { return (void)seq, (void)events, 1; }
EXPORT int snd_seq_poll_descriptors(void *seq, struct pollfd *fds, unsigned int space, short events) {
    (void)seq;
    if (space < 1) return 0;
    fds[0].fd = sequencer.silent[0];
    fds[0].events = events;
    fds[0].revents = 0;
    return 1;
}

/* Only this client exists, and it is never listed among others. */
EXPORT int snd_seq_get_any_client_info(void *seq, int client, void *info) {
    (void)seq;
    if (client != kClient) return -ENOENT;
    snd_seq_client_info_set_client(info, kClient);
    snd_seq_client_info_set_name(info, sequencer.name);
    return 0;
}
EXPORT int snd_seq_get_any_port_info(void *seq, int client, int port, void *info) {
    (void)seq;
    if (client != kClient || port < 0 || port >= sequencer.ports) return -ENOENT;
    snd_seq_port_info_set_client(info, kClient);
    snd_seq_port_info_set_port(info, port);
    snd_seq_port_info_set_name(info, sequencer.name);
    return 0;
}
EXPORT int snd_seq_get_port_info(void *seq, int port, void *info) { return snd_seq_get_any_port_info(seq, kClient, port, info); }
EXPORT int snd_seq_set_port_info(void *seq, int port, void *info) { return (void)seq, (void)port, (void)info, 0; }
EXPORT int snd_seq_query_next_client(void *seq, void *info) { return (void)seq, (void)info, -ENOENT; }
EXPORT int snd_seq_query_next_port(void *seq, void *info) { return (void)seq, (void)info, -ENOENT; }
EXPORT int snd_seq_query_port_subscribers(void *seq, void *query) { return (void)seq, (void)query, -ENOENT; }
EXPORT int snd_seq_subscribe_port(void *seq, void *subscription) { return (void)seq, (void)subscription, 0; }
EXPORT int snd_seq_unsubscribe_port(void *seq, void *subscription) { return (void)seq, (void)subscription, 0; }

// In a teacher's course, an LMS that offers SCORM 2004's API (API_1484_11) or SCORM 1.2's
// (API) to the page's frame is told what the pupil did: each judgement as an interaction
// with its right answer, the best round's score and status, the time spent. The quiz keeps
// and sends nothing itself; outside a course nothing is called.
//
// The course never holds a verdict: nothing is called while the pupil plays. What is to be
// told waits in a queue, sent one call at a time once the pupil has paused, all of it at
// once when the page is hidden or left. A course that is slow, throws or answers "false"
// changes nothing for the pupil.
'use strict';
(function () {
  const PAIRS = 16;
  const PAUSE = 3000; // ms without a key or a touch before the course is told anything

  // The usual search: up the frame's parents, then the opener's.
  function find(start, name) {
    for (let at = start, depth = 0; at && depth < 10; at = at.parent, ++depth) {
      try {
        if (at[name]) return at[name];
      } catch {
        // a parent of another origin: look further up
      }
      if (at.parent === at) break;
    }
    return null;
  }
  const look = (name) =>
    find(window.parent !== window ? window.parent : null, name) || find(window.opener, name);
  const api2004 = look('API_1484_11');
  const api = api2004 || look('API');
  if (!api) return;

  const two = (n) => String(n).padStart(2, '0');
  const hex = (row) => row.toString(16); // a row as one character, as matching responses want

  // Each version's names for the same things, and its data types.
  const SCORM = api2004
    ? {
        init: 'Initialize',
        set: 'SetValue',
        get: 'GetValue',
        commit: 'Commit',
        finish: 'Terminate',
        status: 'cmi.completion_status',
        score: 'cmi.score.',
        exit: 'cmi.exit',
        sessionTime: 'cmi.session_time',
        interaction: (v) => ({
          id: `greek-${two(v.rows[0])}`,
          type: 'matching',
          description: `{lang=bg}${v.greek} – ${v.roman}`,
          learner_response: `${hex(v.rows[0])}[.]${hex(v.rows[1])}`,
          'correct_responses.0.pattern': `${hex(v.rows[0])}[.]${hex(v.rows[0])}`,
          result: v.right ? 'correct' : 'incorrect',
          timestamp: v.at.toISOString().slice(0, 19),
        }),
        // ISO 8601, to the hundredth of a second
        duration: (ms) =>
          `PT${Math.floor(ms / 3600000)}H${Math.floor(ms / 60000) % 60}M` +
          `${((ms % 60000) / 1000).toFixed(2)}S`,
      }
    : {
        init: 'LMSInitialize',
        set: 'LMSSetValue',
        get: 'LMSGetValue',
        commit: 'LMSCommit',
        finish: 'LMSFinish',
        status: 'cmi.core.lesson_status',
        score: 'cmi.core.score.',
        exit: 'cmi.core.exit',
        sessionTime: 'cmi.core.session_time',
        interaction: (v) => ({
          id: `greek-${two(v.rows[0])}`,
          type: 'matching',
          student_response: `${hex(v.rows[0])}.${hex(v.rows[1])}`,
          'correct_responses.0.pattern': `${hex(v.rows[0])}.${hex(v.rows[0])}`,
          result: v.right ? 'correct' : 'wrong',
          time: `${two(v.at.getHours())}:${two(v.at.getMinutes())}:${two(v.at.getSeconds())}`,
        }),
        // CMITimespan: HHHH:MM:SS.SS, with at least two digits of hours
        duration: (ms) => {
          const hours = Math.min(Math.floor(ms / 3600000), 9999);
          const seconds = ((ms % 60000) / 1000).toFixed(2).padStart(5, '0');
          return `${two(hours)}:${two(Math.floor(ms / 60000) % 60)}:${seconds}`;
        },
      };

  let warned = false;
  function call(name, ...args) {
    try {
      const answer = String(api[name](...args));
      if (answer === 'false') throw new Error(`${name}(${args.join(', ')}) answered false`);
      return answer;
    } catch (error) {
      if (!warned) console.error('The course did not take what the quiz told it:', error);
      warned = true;
      return '';
    }
  }
  const set = (element, value) => call(SCORM.set, element, value);
  const get = (element) => call(SCORM.get, element);

  const queue = [];
  let timer = 0;
  function later(...steps) {
    queue.push(...steps);
    soon();
  }
  function soon() {
    clearTimeout(timer);
    timer = setTimeout(pump, PAUSE);
  }
  function pump() {
    if (queue.length) queue.shift()();
    if (queue.length) timer = setTimeout(pump, 0); // one call a task: input comes between
  }
  function flush() {
    clearTimeout(timer);
    while (queue.length) queue.shift()();
  }
  for (const type of ['keydown', 'pointerdown', 'touchstart'])
    addEventListener(type, () => queue.length && soon(), true);

  const began = Date.now();
  let interactions = 0;
  let best = -1; // the best round's score in this attempt, or -1 before any
  let passing = null; // the course's pass mark as a score out of 100, or null
  const number = (text) => (text === '' || isNaN(text) ? null : Number(text));
  later(
    () => call(SCORM.init, ''),
    () => (interactions = number(get('cmi.interactions._count')) || 0),
    () => (best = number(get(SCORM.score + 'raw')) ?? -1),
    () => {
      const mark = number(
        get(api2004 ? 'cmi.scaled_passing_score' : 'cmi.student_data.mastery_score'),
      );
      passing = mark === null ? null : mark * (api2004 ? 100 : 1);
    },
    () => {
      // A pupil who comes back after a finished round keeps what the course recorded.
      if (/^(not attempted|unknown|)$/.test(get(SCORM.status))) {
        set(SCORM.status, 'incomplete');
        call(SCORM.commit, '');
      }
    },
  );

  document.addEventListener('zun-verdict', ({ detail }) => {
    const values = SCORM.interaction({ ...detail, at: new Date() });
    let n = 0;
    later(() => (n = interactions++));
    for (const [key, value] of Object.entries(values))
      later(() => set(`cmi.interactions.${n}.${key}`, value));
    if (detail.left[0] === 0 && detail.left[1] === 0)
      later(() => finished(Number(detail.counts[0])));
  });

  // The best round counts: a pupil who practises more never loses a grade. Its score, and
  // passed or failed against the course's pass mark (completed where it has none).
  function finished(right) {
    const score = (right * 100) / PAIRS;
    const values = api2004 ? [[SCORM.status, 'completed']] : [];
    if (score > best) {
      best = score;
      const passed = passing === null ? null : score >= passing;
      values.push(
        [SCORM.score + 'min', '0'],
        [SCORM.score + 'max', '100'],
        [SCORM.score + 'raw', String(score)],
      );
      if (api2004) values.push([SCORM.score + 'scaled', String(score / 100)]);
      if (api2004 && passed !== null)
        values.push(['cmi.success_status', passed ? 'passed' : 'failed']);
      if (!api2004)
        values.push([SCORM.status, passed === null ? 'completed' : passed ? 'passed' : 'failed']);
    }
    // Sent first, before whatever the pupil does next.
    queue.unshift(
      ...values.map(
        ([element, value]) =>
          () =>
            set(element, value),
      ),
      () => call(SCORM.commit, ''),
    );
  }

  // A phone may end a hidden tab at any moment: what is known goes now.
  const spent = () => set(SCORM.sessionTime, SCORM.duration(Date.now() - began));
  let left = false;
  document.addEventListener('visibilitychange', () => {
    if (left || document.visibilityState !== 'hidden') return; // leaving says it all
    queue.push(spent, () => call(SCORM.commit, ''));
    flush();
  });
  // Leaving keeps the attempt open ("suspend"), so that its best round is there next time.
  addEventListener('pagehide', () => {
    if (left) return;
    left = true;
    queue.push(
      spent,
      () => set(SCORM.exit, 'suspend'),
      () => call(SCORM.commit, ''),
      () => call(SCORM.finish, ''),
    );
    flush();
  });
})();

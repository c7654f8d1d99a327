// In a teacher's course, an LMS that offers the SCORM 1.2 API to the page's frame is told
// what the pupil did: each judgement as an interaction, a finished round's score and status.
// The course keeps it; the quiz keeps and sends nothing itself. Outside a course nothing is
// called, and a course whose API fails changes nothing for the pupil.
'use strict';
(function () {
  const PAIRS = 16;

  // The usual search: up the frame's parents, then the opener's.
  function find(start) {
    for (let at = start, depth = 0; at && depth < 10; at = at.parent, ++depth) {
      try {
        if (at.API) return at.API;
      } catch {
        // a parent of another origin: look further up
      }
      if (at.parent === at) break;
    }
    return null;
  }

  const api = find(window.parent !== window ? window.parent : null) || find(window.opener);
  if (!api) return;

  let warned = false;
  function call(name, ...args) {
    try {
      const answer = api[name](...args);
      if (String(answer) === 'false') throw new Error(`${name}(${args.join(', ')}) answered false`);
      return String(answer);
    } catch (error) {
      if (!warned) console.error('The course did not take what the quiz told it:', error);
      warned = true;
      return '';
    }
  }

  const two = (n) => String(n).padStart(2, '0');
  const now = () => {
    const t = new Date();
    return `${two(t.getHours())}:${two(t.getMinutes())}:${two(t.getSeconds())}`;
  };

  call('LMSInitialize', '');
  // A pupil who comes back after a finished round keeps what the course recorded.
  if (/^(not attempted|)$/.test(call('LMSGetValue', 'cmi.core.lesson_status')))
    call('LMSSetValue', 'cmi.core.lesson_status', 'incomplete');

  document.addEventListener('zun-verdict', ({ detail }) => {
    const n = Number(call('LMSGetValue', 'cmi.interactions._count')) || 0;
    const at = `cmi.interactions.${n}.`;
    call('LMSSetValue', at + 'id', 'pair-' + (PAIRS - detail.left[0]));
    call('LMSSetValue', at + 'type', 'matching');
    call('LMSSetValue', at + 'student_response', `${detail.greek}.${detail.roman}`);
    call('LMSSetValue', at + 'result', detail.right ? 'correct' : 'wrong');
    call('LMSSetValue', at + 'time', now());
    if (detail.left[0] === 0 && detail.left[1] === 0) finished(Number(detail.counts[0]));
  });

  // The round's score replaces any earlier one; passed or failed against the course's own
  // mastery score, or completed where it has none.
  function finished(right) {
    const score = (right * 100) / PAIRS;
    call('LMSSetValue', 'cmi.core.score.min', '0');
    call('LMSSetValue', 'cmi.core.score.max', '100');
    call('LMSSetValue', 'cmi.core.score.raw', String(score));
    const mastery = call('LMSGetValue', 'cmi.student_data.mastery_score');
    const status = mastery === '' ? 'completed' : score >= Number(mastery) ? 'passed' : 'failed';
    call('LMSSetValue', 'cmi.core.lesson_status', status);
    call('LMSCommit', '');
  }

  let left = false;
  addEventListener('pagehide', () => {
    if (left) return;
    left = true;
    call('LMSCommit', '');
    call('LMSFinish', '');
  });
})();

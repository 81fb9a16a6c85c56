// ---------------------------------------------------------------- scorm.js
// A learning platform that starts the page as a SCORM 1.2 activity offers
// its run-time as an object named API in a window above the page's (a frame's
// parent, or the window that opened it). The page finds it as the standard
// says, opens the session, takes the signed-in student's name, and at the end
// of each exam hands it the values that the engine made of the record
// (score, status, questions), then closes the session when the student
// leaves. A platform's refusal is told once, in French, and the exam goes on:
// its record can still be saved.
const learningPlatform = { api: null, finished: false, told: false };

// The standard's search: this window and up to seven windows above it, then
// the same from the window that opened it. A window of another site cannot
// be looked into, and holds no API for the page.
function findApi(start) {
  let win = start;
  for (let tries = 0; win && tries <= 7; tries += 1) {
    try {
      if (win.API) return win.API;
    } catch {
      return null;
    }
    if (win.parent === win) break;
    win = win.parent;
  }
  return null;
}

function tellPlatformError(call) {
  if (learningPlatform.told) return;
  learningPlatform.told = true;
  let code = '';
  let reason = '';
  try {
    code = String(learningPlatform.api.LMSGetLastError());
    reason = String(learningPlatform.api.LMSGetErrorString(code));
  } catch {
    reason = call;
  }
  const notice = byId('platform-notice');
  notice.textContent = labelWith('WEB_PLATFORM_ERROR', code, reason);
  notice.hidden = false;
}

// One call of the run-time; false when the platform refused it.
function platformCall(name, ...args) {
  let answer = 'false';
  try {
    answer = String(learningPlatform.api[name](...args));
  } catch {
    answer = 'false';
  }
  if (answer === 'false') tellPlatformError(name);
  return answer;
}

// What the engine needs of the platform at start: whether there is one, the
// student's name, the mastery score (or -1) and the interactions it holds.
function connectPlatform() {
  const api = findApi(window) || (window.opener ? findApi(window.opener) : null);
  if (!api) return { present: false, name: '', mastery: -1, interactions: 0 };
  learningPlatform.api = api;
  if (platformCall('LMSInitialize', '') !== 'true') {
    learningPlatform.api = null;
    return { present: false, name: '', mastery: -1, interactions: 0 };
  }
  const value = (element) => {
    try {
      return String(api.LMSGetValue(element) ?? '');
    } catch {
      return '';
    }
  };
  if (value('cmi.core.lesson_status') === 'not attempted') platformCall('LMSSetValue', 'cmi.core.lesson_status', 'incomplete');
  const mastery = value('cmi.student_data.mastery_score');
  const interactions = Number.parseInt(value('cmi.interactions._count'), 10);
  return {
    present: true,
    name: value('cmi.core.student_name'),
    // The score must reach the mastery score: with whole scores, its next whole number.
    mastery: /^\d+(\.\d+)?$/.test(mastery) ? Math.ceil(Number(mastery)) : -1,
    interactions: Number.isFinite(interactions) ? interactions : 0,
  };
}

function reportToPlatform(values) {
  if (!learningPlatform.api || learningPlatform.finished) return;
  for (const [element, value] of values) platformCall('LMSSetValue', element, value);
  platformCall('LMSCommit', '');
}

function finishPlatform() {
  if (!learningPlatform.api || learningPlatform.finished) return;
  learningPlatform.finished = true;
  platformCall('LMSFinish', '');
}

// ---------------------------------------------------------------- bridge.js
// What the WebAssembly calls (web/page_bridge.cpp): `Module.page`, one
// method per call, each handing its work to the page's parts above.
const pageBridge = {
  showFrame,
  showFramePicture,
  showControl,
  allowNext,
  setTitle,
  showSoundIcon,
  setCountdownText,
  focus: focusTarget,
  setPaletteTarget,
  startTimer,
  stopTimer,

  showWelcomePage,
  showHomePage,
  showQuestionPage,
  showEndPage,
  showPrompt,
  showText,
  showImage,
  showMediaButtons,
  showCandidates,
  showMaskedAnswer,
  showTriesLeft,
  showLettersLine,
  clearAnswer,
  releaseImages,

  typedAnswer,
  tickedBoxes,
  selectedCandidate,
  trueFalseChoice,
  homeText,
  homeChecked,
  homeTypeEntry,
  homeThemeTicked,

  playSound: (bytes, type) => play('sound', bytes, type),
  stopSound: () => stop('sound'),
  playMusic: (bytes, type) => play('music', bytes, type),
  stopMusic: () => stop('music'),

  openMessage,
  addCorrectionRow,
  openCorrection,
  closeModal: closeEngineModal,
  waitModalEvent,
  showImagePreview: openPreview,
  showResultsDetails: openDetails,

  recordReady,
  reportToPlatform,
  examRunning,
  closed,
};

// After each command: a new question's first answer control takes the focus.
function afterCommand() {
  focusNewQuestion();
}

// The student has quit: nothing of the exam is left running, and the page
// says that it may be closed (a script may close only a window it opened).
function closed() {
  stopAllTimers();
  stopAllMedia();
  for (const dialog of document.querySelectorAll('dialog[open]')) dialog.close();
  byId('frame').hidden = true;
  byId('loading').hidden = true;
  byId('closed').textContent = label('WEB_CLOSED');
  byId('closed').hidden = false;
  window.onbeforeunload = null;
  finishPlatform();
  window.close();
}

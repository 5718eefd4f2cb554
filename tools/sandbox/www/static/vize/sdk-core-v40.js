/*
 * Ashenmoor sandbox ad core script.
 *
 * Defines VIZE_buildAdURL(params). The application loads this text into a hidden page
 * whose base URL is the ad server and calls the function with its parameter object. The
 * function answers by navigating exactly once to a "gmsg" message URL:
 *
 *   gmsg://sandbox/loadAdURL?url=<ad URL>&type=html      the ad URL to fetch
 *   gmsg://sandbox/loadAdURL?url=<ad URL>&type=gwhirl    same, sequence-numbered road
 *   gmsg://sandbox/loadAdURL?errors=<text>               a parameter is missing or malformed
 *   gmsg://sandbox/invalidRequest?reason=<text>&...      a request the server never accepts
 *   gmsg://sandbox/unableToServe?reason=<text>&...       a valid request the sandbox cannot serve
 *
 * The ad URL is <page origin>/ad followed by every parameter: strings, numbers and
 * booleans as they are, objects and arrays as JSON text, each percent-encoded. Keys of
 * the "extras" object steer the sandbox:
 *   sandbox_creative   a creative name, passed on as "creative"
 *   sandbox_type       "gwhirl" asks for the sequence-numbered road
 *   sandbox_delay_ms   delay of the "slow" creative, passed on as "delay_ms"
 *   sandbox_reply      "invalidRequest" or "unableToServe" forces that answer
 */
(function () {
  'use strict';

  var AD_PATH = '/ad';

  function isObject(value) {
    return value !== null && typeof value === 'object' && !Array.isArray(value);
  }

  function asText(value) {
    if (value === null || value === undefined) return '';
    if (typeof value === 'object') return JSON.stringify(value);
    return String(value);
  }

  function query(fields) {
    var pieces = [];
    for (var key in fields) {
      if (Object.prototype.hasOwnProperty.call(fields, key)) {
        pieces.push(encodeURIComponent(key) + '=' + encodeURIComponent(asText(fields[key])));
      }
    }
    return pieces.join('&');
  }

  // One navigation per call: the application cancels it and reads the message.
  function send(name, fields) {
    var q = fields ? query(fields) : '';
    window.location.href = 'gmsg://sandbox/' + name + (q ? '?' + q : '');
  }

  function isRect(value) {
    if (!isObject(value)) return false;
    var keys = ['x', 'y', 'w', 'h'];
    for (var i = 0; i < keys.length; i++) {
      if (typeof value[keys[i]] !== 'number' || !isFinite(value[keys[i]])) return false;
    }
    return true;
  }

  function problems(params) {
    var found = [];
    if (!('slotname' in params)) {
      found.push('slotname: missing');
    } else if (typeof params.slotname !== 'string' || params.slotname.trim() === '') {
      found.push('slotname: must be a non-empty string');
    }
    ['ad_frame', 'ad_bounds'].forEach(function (key) {
      if (key in params && !isRect(params[key])) found.push(key + ': must be an object of numbers x, y, w, h');
    });
    if ('kw' in params && !(Array.isArray(params.kw) && params.kw.every(function (k) { return typeof k === 'string'; }))) {
      found.push('kw: must be an array of strings');
    }
    if ('extras' in params && !isObject(params.extras)) found.push('extras: must be an object');
    if ('preqs' in params && typeof params.preqs !== 'number') found.push('preqs: must be a number');
    return found;
  }

  function adServerOrigin() {
    var protocol = window.location.protocol;
    if (protocol !== 'http:' && protocol !== 'https:') return null;
    return protocol + '//' + window.location.host;
  }

  window.VIZE_buildAdURL = function (params) {
    if (!isObject(params)) {
      send('loadAdURL', { errors: 'params: must be an object' });
      return;
    }
    var errors = problems(params);
    if (errors.length) {
      send('loadAdURL', { errors: errors.join('; ') });
      return;
    }
    var extras = isObject(params.extras) ? params.extras : {};

    if (extras.sandbox_reply === 'invalidRequest') {
      send('invalidRequest', { reason: 'asked for by extras.sandbox_reply', slotname: params.slotname });
      return;
    }
    if ('format' in params && params.format !== 'interstitial_mb') {
      send('invalidRequest', { reason: 'unknown ad format ' + asText(params.format), slotname: params.slotname });
      return;
    }
    if (extras.sandbox_reply === 'unableToServe') {
      send('unableToServe', { reason: 'asked for by extras.sandbox_reply', slotname: params.slotname });
      return;
    }
    if (params.format === 'interstitial_mb') {
      send('unableToServe', { reason: 'the sandbox serves 320x50 banners only', slotname: params.slotname });
      return;
    }
    var origin = adServerOrigin();
    if (!origin) {
      send('unableToServe', { reason: 'the build page has no http base URL', slotname: params.slotname });
      return;
    }

    var fields = {};
    for (var key in params) {
      if (Object.prototype.hasOwnProperty.call(params, key)) fields[key] = params[key];
    }
    if (typeof extras.sandbox_creative === 'string') fields.creative = extras.sandbox_creative;
    if (extras.sandbox_delay_ms !== undefined) fields.delay_ms = extras.sandbox_delay_ms;

    var type = extras.sandbox_type === 'gwhirl' ? 'gwhirl' : 'html';
    send('loadAdURL', { url: origin + AD_PATH + '?' + query(fields), type: type });
  };
})();

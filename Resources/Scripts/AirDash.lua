-- K or X pressed: a fast dash the way the player faces, once until the next landing (or an
-- orb). Holding W or Up makes it a diagonal dash, forward and up. While it lasts gravity,
-- friction and the run keys leave the player alone.
local DashSeconds = 0.2
local DashSpeed = 2.5         -- times the controller's top speed
local Diagonal = 0.7071       -- share of the speed on each axis of a diagonal dash
local DiagonalRiseAfter = 400 -- the most upward speed a diagonal dash leaves the player with

function main()
    local id = GetPlayerID()
    local player = GetController(id)
    if player == nil or player.airSkillSpent or player.airSkillActive then
        return
    end
    player.airSkillSpent = true
    player.airSkillActive = true
    local speed = player.maxvelx * DashSpeed
    local up = IsKeyPressed("W") or IsKeyPressed("&")  -- "&" is the Up arrow's key code
    if up then
        speed = speed * Diagonal
        player.y_vel = speed
    else
        player.y_vel = 0
    end
    player.x_vel = player.facingRt and speed or -speed
    player.isGrounded = false
    PlaySoundEvent("Player_AirDash")
    local place = GetTransform(id)
    if place ~= nil then
        ParticleBurst(place.x_pos, place.y_pos)
    end
    player.airSkillTimer = Delay(DashSeconds, function()
        -- Looked up again: the player may have been replaced by a level load meanwhile.
        local after = GetController(GetPlayerID())
        if after ~= nil and after.airSkillActive then
            after.airSkillActive = false
            after.x_vel = after.facingRt and after.maxvelx or -after.maxvelx
            after.y_vel = math.min(after.y_vel, DiagonalRiseAfter)
        end
    end)
end
